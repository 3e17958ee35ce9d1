#include "NearLayer.h"

#include <cmath>

namespace {

const double pi = 3.14159265358979;

}

NearLayer::NearLayer()
    : TileLayer("near", Columns, Rows), grid(Columns, Rows)
{
    for (int j = 0; j <= Rows; j++)
        for (int i = 0; i <= Columns; i++)
            grid.set(i, j, j <= 1 || j >= Rows - 1);
    int i = 2;
    int k = 0;
    while (i < Columns - 1) {
        double a = unit3(i, k, 1), b = unit3(i, k, 2);
        if (k % 5 == 3) {
            // a whole column, floor to ceiling, pinched at its waist
            int half = 1 + (b < 0.5 ? 1 : 0);
            for (int w = -half; w <= half; w++)
                for (int j = 0; j <= Rows; j++) {
                    bool waist = (w == -half || w == half) && j > 5 && j < Rows - 5;
                    grid.set(i + w, j, !waist);
                }
            i += 2 * half + 5 + (int)(4 * a);
        } else {
            int half = a < 0.4 ? 0 : (a < 0.8 ? 1 : 2);
            int hang = 4 + (int)(5 * b) + half;
            taper(i, half, 0, hang);
            int rise = Rows - 3 - (int)(4 * unit3(i, k, 3)) - half;
            taper(i + 2 + (int)(3 * unit3(i, k, 4)), half, Rows, rise);
            i += 4 + (int)(5 * unit3(i, k, 5));
        }
        k++;
    }
    grid.tidy();
}

void NearLayer::taper(int centre, int halfWidth, int fromRow, int toRow)
{
    int step = toRow > fromRow ? 1 : -1;
    for (int w = -halfWidth; w <= halfWidth; w++) {
        int end = toRow - step * 2 * (w < 0 ? -w : w);
        for (int j = fromRow; j != end + step; j += step)
            grid.set(centre + w, j, true);
    }
}

int NearLayer::variant(int column, int row) const
{
    int s = grid.shape(column, row);
    if (s == 0 || s == CornerGrid::Full)
        return 0;
    return hash3(column, row, 8) % 2;
}

Pixel NearLayer::colourAt(int x, int y) const
{
    int c = x / TileSize, r = y / TileSize;
    int lx = x % TileSize, ly = y % TileSize;
    int s = grid.shape(c, r);
    if (s == 0)
        return clearPixel();
    double u = (lx + 0.5) / TileSize, v = (ly + 0.5) / TileSize;
    double f = CornerGrid::field(s, u, v);
    if (s != CornerGrid::Full)
        f += 0.15 * std::sin(pi * u) * std::sin(pi * v)
            * (2.0 * valueNoise(lx / 4.0, ly / 4.0, 4, 200 + variant(c, r) * 16 + s) - 1.0);
    if (f < 0.5)
        return clearPixel();
    double depth = clamp01((f - 0.5) * 2.0);
    double gx, gy;
    CornerGrid::gradient(s, u, v, gx, gy);
    double length = std::sqrt(gx * gx + gy * gy);
    double light = length > 0 ? (gx * 0.8 + gy * 0.6) / length : 0.0;
        // vertical streaks, as water leaves on cave columns
    double grain = 0.35 * valueNoise(x / 8.0, y / 8.0, 4, 31) + 0.45 * valueNoise(x / 2.0, y / 16.0, 16, 2, 32)
        + 0.2 * valueNoise(x / 4.0, y / 4.0, 8, 33);
    Pixel body = scale(mix(rgb(40, 30, 62), rgb(18, 13, 32), smoothstep(0.1, 0.9, depth)), 0.8 + 0.4 * grain);
    double rim = 1.0 - smoothstep(0.0, 0.35, depth);
    Pixel edge = light > 0 ? mix(rgb(44, 34, 70), rgb(88, 74, 140), light) : rgb(30, 22, 48);
    return mix(body, edge, rim);
}

TileKey NearLayer::keyOf(int column, int row) const
{
    int s = grid.shape(column, row);
    TileKey key(3);
    key[0] = s;
    key[1] = s == 0 ? 0 : (column & 1) | (row & 1) << 1;
    key[2] = variant(column, row);
    return key;
}
