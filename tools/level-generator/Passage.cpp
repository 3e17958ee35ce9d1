#include "Passage.h"

#include <cstdlib>

Passage::Passage(const std::vector<unsigned char>& solid, int width, int height, int boxWidth,
                 int boxHeight, int climb)
    : solid(solid), width(width), height(height), boxWidth(boxWidth), boxHeight(boxHeight), climb(climb),
      positionsX(width - boxWidth + 1), positionsY(height - boxHeight + 1), reached(-1),
      fit(positionsX * positionsY, 0), reach(positionsX * positionsY, 0)
{
    // rowClear[y * positionsX + x]: the box's top edge row y is clear from x to x + boxWidth - 1
    std::vector<unsigned char> rowClear(positionsX * height, 0);
    for (int y = 0; y < height; y++) {
        int run = 0;
        for (int x = 0; x < width; x++) {
            run = solid[y * width + x] ? 0 : run + 1;
            if (x >= boxWidth - 1)
                rowClear[y * positionsX + x - boxWidth + 1] = run >= boxWidth;
        }
    }
    for (int x = 0; x < positionsX; x++) {
        int run = 0;
        for (int y = 0; y < height; y++) {
            run = rowClear[y * positionsX + x] ? run + 1 : 0;
            if (y >= boxHeight - 1)
                fit[x * positionsY + y - boxHeight + 1] = run >= boxHeight;
        }
    }
}

bool Passage::fly(int startY)
{
    reach.assign(reach.size(), 0);
    reached = -1;
    if (startY < 0 || startY >= positionsY || !fits(0, startY))
        return false;
    reach[startY] = 1;
    std::vector<unsigned char> spread(positionsY);
    for (int x = 0; x + 1 < positionsX; x++) {
        reached = x;
        spread.assign(positionsY, 0);
        for (int y = 0; y < positionsY; y++) {
            if (!reachable(x, y))
                continue;
            for (int dy = 0; dy <= climb && y + dy < positionsY && fits(x, y + dy); dy++)
                spread[y + dy] = 1;
            for (int dy = 0; dy <= climb && y - dy >= 0 && fits(x, y - dy); dy++)
                spread[y - dy] = 1;
        }
        bool any = false;
        for (int y = 0; y < positionsY; y++)
            if (spread[y] && fits(x + 1, y)) {
                reach[(x + 1) * positionsY + y] = 1;
                any = true;
            }
        if (!any)
            return false;
    }
    reached = positionsX - 1;
    return true;
}

int Passage::narrowestGap(int& atX) const
{
    int narrowest = height;
    atX = 0;
    for (int x = 0; x <= reached; x++) {
        int column = x + boxWidth / 2;
        int best = 0;
        int y = 0;
        while (y < height) {
            if (solid[y * width + column]) {
                y++;
                continue;
            }
            int top = y;
            while (y < height && !solid[y * width + column])
                y++;
            bool holdsShip = false;
            for (int t = top; t + boxHeight <= y && t < positionsY && !holdsShip; t++)
                holdsShip = reachable(x, t);
            if (holdsShip && y - top > best)
                best = y - top;
        }
        if (best < narrowest) {
            narrowest = best;
            atX = x;
        }
    }
    return narrowest;
}

std::vector<int> Passage::route() const
{
    std::vector<int> middles(positionsX, 0);
    int previous = -1;
    for (int x = reached; x >= 0; x--) {
        int best = previous, bestCost = 1 << 30;
        int y = 0;
        while (y < positionsY) {
            if (!reachable(x, y)) {
                y++;
                continue;
            }
            int top = y;
            while (y < positionsY && reachable(x, y))
                y++;
            int middle = (top + y - 1) / 2;
            int cost = previous < 0 ? -(y - top) : std::abs(middle - previous);
            if (cost < bestCost) {
                bestCost = cost;
                best = middle;
            }
        }
        previous = best;
        middles[x] = best < 0 ? 0 : best;
    }
    for (int x = reached + 1; x < positionsX; x++)
        middles[x] = reached >= 0 ? middles[reached] : 0;
    // smoothed, as a player would fly it
    std::vector<int> ys(positionsX, 0);
    const int half = 24;
    for (int x = 0; x < positionsX; x++) {
        long sum = 0;
        int count = 0;
        for (int k = x - half; k <= x + half; k++)
            if (k >= 0 && k < positionsX) {
                sum += middles[k];
                count++;
            }
        ys[x] = (int)(sum / count);
    }
    return ys;
}
