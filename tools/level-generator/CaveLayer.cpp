#include "CaveLayer.h"

#include <cmath>

#include <allegro.h>

#include "Crystal.h"

namespace {

// Where the open cave runs: at corner column i, the corners from top to bottom are empty.
struct Opening {
    int i, top, bottom;
};

const Opening openings[] = {
    { 0, 3, 13 },    { 10, 2, 14 },   { 20, 3, 14 },   { 28, 3, 14 },   // the open start
    { 36, 3, 10 },   { 42, 2, 10 },                                     // floor rises: fly high
    { 48, 2, 17 },   { 62, 2, 17 },                                     // hall of spikes
    { 72, 12, 17 },  { 84, 13, 17 },                                    // low tunnel
    { 91, 4, 17 },   { 104, 3, 17 },                                    // boulder chamber
    { 109, 4, 9 },   { 114, 2, 7 },   { 124, 12, 16 }, { 129, 11, 16 }, // winding tube
    { 134, 3, 16 },  { 152, 3, 16 },                                    // crystal grotto
    { 158, 2, 7 },   { 164, 2, 6 },   { 174, 11, 16 },                  // high crack, then down
    { 177, 2, 17 },  { 198, 2, 17 },                                    // the gates
    { 205, 2, 11 },  { 209, 3, 16 },  { 220, 3, 16 },                   // last rise, last hall
};

const double pi = 3.14159265358979;
const int stoneCount = 7;

// Cellular pattern repeating every 32 pixels: seam is how far (x, y) lies from the border
// between its nearest stone and the next, stone which stone it is, and light how much the
// stone's top left catches the light (-1 to 1).
void stones(int x, int y, double& seam, int& stone, double& light)
{
    double px = (x & 31) + 0.5, py = (y & 31) + 0.5;
    double first = 1e9, second = 1e9, fx = 0, fy = 0;
    stone = 0;
    for (int k = 0; k < stoneCount; k++)
        for (int oy = -32; oy <= 32; oy += 32)
            for (int ox = -32; ox <= 32; ox += 32) {
                double sx = 32.0 * unit3(k, 0, 77) + ox, sy = 32.0 * unit3(k, 1, 77) * 0.8 + oy;
                double dx = px - sx, dy = (py - sy) * 1.4;
                double d = std::sqrt(dx * dx + dy * dy);
                if (d < first) {
                    second = first;
                    first = d;
                    stone = k;
                    fx = dx;
                    fy = dy;
                } else if (d < second) {
                    second = d;
                }
            }
    seam = second - first;
    light = first > 0 ? clamp01(1.0 - first / 14.0) * (-(fx * 0.5 + fy * 0.85) / first) : 0.0;
}

}

CaveLayer::CaveLayer()
    : TileLayer("main", Columns, Rows), grid(Columns, Rows), decorKind(Columns * Rows, NoDecor),
      decorNumber(Columns * Rows, 0)
{
    carve();
    raise();
    grid.tidy();
    decorate();
}

void CaveLayer::fillCorners(int i, int firstRow, int lastRow, bool isSolid)
{
    for (int j = firstRow; j <= lastRow; j++)
        grid.set(i, j, isSolid);
}

void CaveLayer::carve()
{
    const int count = sizeof openings / sizeof openings[0];
    for (int k = 0; k + 1 < count; k++) {
        const Opening& a = openings[k];
        const Opening& b = openings[k + 1];
        for (int i = a.i; i <= b.i; i++) {
            double t = (double)(i - a.i) / (b.i - a.i);
            int top = (int)std::floor(a.top + (b.top - a.top) * t + 0.5);
            int bottom = (int)std::floor(a.bottom + (b.bottom - a.bottom) * t + 0.5);
            // a rougher outline where the cave is wide enough to afford it
            if (bottom - top >= 8) {
                top += valueNoise(i / 2.5, 0.5, 1000, 11) > 0.62 ? 1 : 0;
                bottom -= valueNoise(i / 2.5, 0.5, 1000, 12) > 0.6 ? 1 : 0;
            }
            fillCorners(i, top, bottom, false);
        }
    }
}

void CaveLayer::spike(int centre, int halfWidth, int fromRow, int toRow)
{
    int step = toRow > fromRow ? 1 : -1;
    for (int k = -halfWidth; k <= halfWidth; k++) {
        int end = toRow - step * 2 * (k < 0 ? -k : k);
        for (int j = fromRow; j != end + step; j += step)
            grid.set(centre + k, j, true);
    }
}

void CaveLayer::boulder(double centreI, double centreJ, double radiusI, double radiusJ)
{
    for (int j = 0; j <= Rows; j++)
        for (int i = 0; i <= Columns; i++) {
            double di = (i - centreI) / radiusI, dj = (j - centreJ) / radiusJ;
            if (di * di + dj * dj <= 1.0)
                grid.set(i, j, true);
        }
}

void CaveLayer::raise()
{
    spike(14, 1, 14, 11);  // a small stalagmite in the open start
    spike(23, 0, 2, 4);
    spike(51, 1, 2, 11);   // the hall of spikes: weave under, over, under
    spike(56, 1, 17, 9);
    spike(61, 0, 2, 9);
    boulder(97, 10.5, 5.5, 2.1);
    spike(138, 1, 16, 13); // stalagmites among the crystals
    spike(146, 0, 3, 6);
    fillCorners(181, 2, 11, true); // the gates: walls with one hole each
    fillCorners(182, 2, 11, true);
    fillCorners(188, 2, 2, true);
    fillCorners(188, 8, 17, true);
    fillCorners(189, 2, 2, true);
    fillCorners(189, 8, 17, true);
    fillCorners(195, 2, 8, true);
    fillCorners(195, 14, 17, true);
    fillCorners(196, 2, 8, true);
    fillCorners(196, 14, 17, true);
    spike(214, 1, 16, 12); // crystal spire at the end
}

void CaveLayer::decorate()
{
    for (int r = 0; r < Rows; r++)
        for (int c = 0; c < Columns; c++) {
            int cell = r * Columns + c;
            int s = grid.shape(c, r);
            bool grotto = c >= 132 && c < 154;
            double chance = unit3(c, r, 21);
            if (s == (CornerGrid::BottomLeft | CornerGrid::BottomRight) && r >= 5) {
                bool room = true;
                for (int k = 1; k <= 4; k++)
                    room = room && grid.shape(c, r - k) == 0 && decorKind[cell - k * Columns] == NoDecor;
                if (room && chance < (grotto ? 0.6 : 0.16)) {
                    int number = hash3(c, r, 22) % CrystalClusters;
                    decorKind[cell] = CrystalBase;
                    decorNumber[cell] = number;
                    decorKind[cell - Columns] = CrystalTip;
                    decorNumber[cell - Columns] = number;
                }
            } else if (s == (CornerGrid::TopLeft | CornerGrid::TopRight) && r + 5 < Rows) {
                bool room = true;
                for (int k = 1; k <= 6; k++)
                    room = room && grid.shape(c, r + k) == 0;
                if (room && chance < (grotto ? 0.4 : 0.1)) {
                    int number = hash3(c, r, 23) % CrystalClusters;
                    decorKind[cell] = HangingBase;
                    decorNumber[cell] = number;
                    decorKind[cell + Columns] = HangingTip;
                    decorNumber[cell + Columns] = number;
                }
            } else if (s == CornerGrid::Full && chance < 0.08) {
                bool nearOpen = false;
                for (int dr = -2; dr <= 2; dr++)
                    for (int dc = -1; dc <= 1; dc++)
                        nearOpen = nearOpen || grid.shape(c + dc, r + dr) != CornerGrid::Full;
                if (nearOpen) {
                    decorKind[cell] = Gem;
                    decorNumber[cell] = hash3(c, r, 24) % GemKinds;
                }
            }
        }
}

int CaveLayer::variant(int column, int row) const
{
    int s = grid.shape(column, row);
    int kind = decorKind[row * Columns + column];
    if (s == 0 || s == CornerGrid::Full || kind == CrystalBase || kind == HangingBase)
        return 0;
    return hash3(column, row, 5) % 3;
}

Pixel CaveLayer::rock(int shape, int variantNumber, int x, int y) const
{
    if (shape == 0)
        return clearPixel();
    int lx = x % TileSize, ly = y % TileSize;
    double u = (lx + 0.5) / TileSize, v = (ly + 0.5) / TileSize;
    double f = CornerGrid::field(shape, u, v);
    if (shape != CornerGrid::Full)
        f += 0.22 * std::sin(pi * u) * std::sin(pi * v)
            * (2.0 * valueNoise(lx / 4.0, ly / 4.0, 4, 100 + variantNumber * 16 + shape) - 1.0);
    if (f < 0.5)
        return clearPixel();
    double depth = clamp01((f - 0.5) * 2.0);

    double gx, gy;
    CornerGrid::gradient(shape, u, v, gx, gy);
    double length = std::sqrt(gx * gx + gy * gy);
    double light = length > 0 ? (gx * 0.35 + gy * 0.94) / length : 0.0;

    // The texture repeats every two cells, so it costs four tiles per shape: grain, and
    // embedded stones whose seams crack the rock.
    double grain = 0.4 * valueNoise(x / 8.0, y / 8.0, 4, 1) + 0.3 * valueNoise((x + y) / 8.0, (x - y) / 8.0, 4, 2)
        + 0.3 * valueNoise(x / 2.0, y / 2.0, 16, 4);
    double seam, stoneLight;
    int stone;
    stones(x, y, seam, stone, stoneLight);
    double tone = 0.74 + 0.36 * grain + 0.08 * (unit3(stone, 0, 9) - 0.5) + 0.12 * stoneLight
        - 0.25 * (1.0 - smoothstep(0.6, 1.6, seam));

    Pixel shallow = light > 0 ? rgb(122, 78, 62) : mix(rgb(122, 78, 62), rgb(74, 46, 60), -light);
    Pixel body = mix(shallow, rgb(42, 25, 40), smoothstep(0.1, 0.95, depth));
    body = scale(body, tone);
    Pixel edge = light > 0 ? mix(rgb(128, 84, 68), rgb(238, 190, 122), light)
                           : mix(rgb(110, 70, 66), rgb(58, 34, 62), -light);
    double rim = 1.0 - smoothstep(0.0, light > 0 ? 0.3 : 0.2, depth);
    Pixel c = mix(body, scale(edge, 0.9 + 0.2 * grain), rim);
    if (depth < 0.06 && light <= 0.2)
        c = mix(c, rgb(28, 14, 32), 0.6);
    return c;
}

Pixel CaveLayer::colourAt(int x, int y) const
{
    int c = x / TileSize, r = y / TileSize;
    int lx = x % TileSize, ly = y % TileSize;
    int cell = r * Columns + c;
    Pixel p = rock(grid.shape(c, r), variant(c, r), x, y);
    Pixel d = clearPixel();
    switch (decorKind[cell]) {
    case CrystalBase:
        d = crystalAt(decorNumber[cell], lx, ly + TileSize);
        break;
    case CrystalTip:
        d = crystalAt(decorNumber[cell], lx, ly);
        break;
    case HangingBase:
        d = crystalAt(decorNumber[cell], lx, 2 * TileSize - 1 - ly);
        break;
    case HangingTip:
        d = crystalAt(decorNumber[cell], lx, TileSize - 1 - ly);
        break;
    case Gem:
        if (!p.clear) {
            double socket;
            d = gemAt(decorNumber[cell], lx, ly, socket);
            p = scale(p, 1.0 - socket);
        }
        break;
    }
    return d.clear ? p : d;
}

TileKey CaveLayer::keyOf(int column, int row) const
{
    int cell = row * Columns + column;
    int s = grid.shape(column, row);
    TileKey key(5);
    key[0] = s;
    key[1] = s == 0 ? 0 : (column & 1) | (row & 1) << 1;
    key[2] = variant(column, row);
    key[3] = decorKind[cell];
    key[4] = decorNumber[cell];
    return key;
}

TileKey CaveLayer::blankKey()
{
    return TileKey(5, 0);
}
