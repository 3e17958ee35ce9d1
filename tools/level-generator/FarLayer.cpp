#include "FarLayer.h"

#include <cmath>

namespace {

const double pi = 3.14159265358979;

struct Stop {
    double y, r, g, b;
};

const Stop skyStops[] = {
    { 0, 5, 5, 20 }, { 70, 16, 12, 46 }, { 130, 40, 24, 86 }, { 175, 84, 44, 118 },
    { 205, 130, 70, 136 }, { 256, 150, 86, 140 },
};

const double planetX = 330, planetY = 74, planetRadius = 28;
const double moonX = 862, moonY = 92, moonRadius = 12;

}

FarLayer::FarLayer()
    : TileLayer("far", Columns, Rows), grid(Columns, Rows)
{
    for (int j = 0; j <= Rows; j++)
        for (int i = 0; i <= Columns; i++)
            grid.set(i, j, j >= 14 || (j == 13 && unit3(i, 0, 41) < 0.5));
    int i = 1;
    while (i < Columns) {
        double a = unit3(i, 1, 42);
        bool nearPlanet = std::fabs(i * 16.0 - planetX) < 70;
        bool nearMoon = std::fabs(i * 16.0 - moonX) < 48;
        int tip = nearPlanet ? 9 + (int)(3 * a) : (nearMoon ? 9 : 4) + (int)((nearMoon ? 3 : 6) * a);
        int half = unit3(i, 2, 43) < 0.55 ? 0 : 1;
        spire(i, half, tip);
        i += 2 + half + (int)(4 * unit3(i, 3, 44));
    }
    grid.tidy();
}

void FarLayer::spire(int centre, int halfWidth, int tipRow)
{
    for (int w = -halfWidth - 1; w <= halfWidth + 1; w++) {
        int aw = w < 0 ? -w : w;
        int top = aw > halfWidth ? tipRow + 2 * aw + 3 : tipRow + 2 * aw;
        for (int j = top; j <= Rows; j++)
            grid.set(centre + w, j, true);
    }
}

Pixel FarLayer::sky(int y) const
{
    const int count = sizeof skyStops / sizeof skyStops[0];
    double yy = y + 0.5;
    for (int k = 0; k + 1 < count; k++)
        if (yy <= skyStops[k + 1].y) {
            const Stop& a = skyStops[k];
            const Stop& b = skyStops[k + 1];
            double t = smoothstep(0, 1, (yy - a.y) / (b.y - a.y));
            return mix(rgb(a.r, a.g, a.b), rgb(b.r, b.g, b.b), t);
        }
    const Stop& last = skyStops[count - 1];
    return rgb(last.r, last.g, last.b);
}

Pixel FarLayer::starAt(int column, int row, int x, int y) const
{
    int lx = x % TileSize, ly = y % TileSize;
    int set = hash3(column, row, 45) % 6;
    double fade = 1.0 - smoothstep(110, 190, y);
    Pixel out = sky(y);
    for (int s = 0; s < (set + 1) / 2; s++) {
        int sx = 2 + hash3(set, s, row) % 12, sy = 2 + hash3(set, s + 7, row) % 12;
        double bright = (0.35 + 0.65 * unit3(set, s, row + 50)) * fade;
        bool big = bright > 0.75 && s == 0;
        int dx = lx - sx, dy = ly - sy;
        double glow = 0;
        if (dx == 0 && dy == 0)
            glow = bright;
        else if (big && (dx == 0 || dy == 0) && std::abs(dx + dy) == 1)
            glow = bright * 0.45;
        if (glow > 0) {
            Pixel tint = (hash3(set, s, row + 60) % 3 == 0) ? rgb(255, 220, 200) : rgb(210, 225, 255);
            out = mix(out, tint, glow);
        }
    }
    return out;
}

Pixel FarLayer::bodyAt(int x, int y, const Pixel& behind) const
{
    double px = x + 0.5, py = y + 0.5;
    // planet: banded, lit from the upper left, with a tilted ring
    double dx = (px - planetX) / planetRadius, dy = (py - planetY) / planetRadius;
    double tilt = -0.32;
    double rx = dx * std::cos(tilt) + dy * std::sin(tilt);
    double ry = -dx * std::sin(tilt) + dy * std::cos(tilt);
    double ring = std::sqrt(rx * rx + (ry / 0.24) * (ry / 0.24));
    bool onRing = ring > 1.3 && ring < 1.85 && !(ring > 1.52 && ring < 1.58);
    double d2 = dx * dx + dy * dy;
    Pixel out = clearPixel();
    if (d2 < 1.0) {
        double nz = std::sqrt(1.0 - d2);
        double lambert = clamp01(-0.55 * dx - 0.45 * dy + 0.7 * nz);
        double band = std::sin(ry * 9.0 + 0.8 * std::sin(rx * 3.0)) * 0.5 + 0.5;
        Pixel surface = mix(rgb(120, 92, 170), rgb(176, 150, 204), band);
        if (std::fabs(ry - 0.3) < 0.08)
            surface = mix(surface, rgb(110, 180, 200), 0.5);
        out = mix(scale(surface, 0.12), surface, smoothstep(0.0, 0.75, lambert));
        if (onRing && ry > 0)
            out = clearPixel();
        else
            return mix(out, behind, 0.08);
    }
    if (onRing) {
        double shade = 0.55 + 0.45 * std::sin(ring * 20.0);
        Pixel band = mix(rgb(110, 90, 150), rgb(200, 180, 220), shade);
        if (ry < 0 && d2 < 1.0)
            return out;
        return mix(behind, band, 0.7);
    }
    if (d2 < 1.6)
        return mix(behind, rgb(90, 70, 150), 0.18 * (1.0 - smoothstep(1.0, 1.6, d2)));
    // moon: pale, cratered, lit from the same side
    double mx = (px - moonX) / moonRadius, my = (py - moonY) / moonRadius;
    double m2 = mx * mx + my * my;
    if (m2 < 1.0) {
        double nz = std::sqrt(1.0 - m2);
        double lambert = clamp01(-0.55 * mx - 0.45 * my + 0.7 * nz);
        Pixel surface = rgb(200, 196, 214);
        double cx = mx - 0.25, cy = my + 0.2, cx2 = mx + 0.3, cy2 = my - 0.35;
        if (cx * cx + cy * cy < 0.09 || cx2 * cx2 + cy2 * cy2 < 0.04)
            surface = rgb(160, 154, 180);
        return mix(scale(surface, 0.1), surface, smoothstep(0.0, 0.7, lambert));
    }
    return clearPixel();
}

bool FarLayer::cellShowsBody(int column, int row) const
{
    Pixel dummy = rgb(0, 0, 0);
    for (int y = 0; y < TileSize; y++)
        for (int x = 0; x < TileSize; x++)
            if (!bodyAt(column * TileSize + x, row * TileSize + y, dummy).clear)
                return true;
    return false;
}

Pixel FarLayer::colourAt(int x, int y) const
{
    int c = x / TileSize, r = y / TileSize;
    int lx = x % TileSize, ly = y % TileSize;
    int s = grid.shape(c, r);
    if (s == 0) {
        Pixel behind = sky(y);
        Pixel body = bodyAt(x, y, behind);
        if (!body.clear)
            return body;
        return cellShowsBody(c, r) ? behind : starAt(c, r, x, y);
    }
    double u = (lx + 0.5) / TileSize, v = (ly + 0.5) / TileSize;
    double f = CornerGrid::field(s, u, v);
    if (s != CornerGrid::Full)
        f += 0.2 * std::sin(pi * u) * std::sin(pi * v) * (2.0 * valueNoise(lx / 4.0, ly / 4.0, 4, 300 + s) - 1.0);
    if (f < 0.5)
        return sky(y);
    double depth = clamp01((f - 0.5) * 2.0);
    double gx, gy;
    CornerGrid::gradient(s, u, v, gx, gy);
    double length = std::sqrt(gx * gx + gy * gy);
    double light = length > 0 ? (gx * 0.7 + gy * 0.7) / length : 0.0;
    Pixel rock = mix(rgb(44, 30, 78), rgb(28, 20, 56), smoothstep(0.1, 0.8, depth));
    if (light > 0)
        rock = mix(rock, rgb(112, 84, 160), light * (1.0 - smoothstep(0.0, 0.3, depth)));
    return mix(rock, sky(y), 0.15 + 0.6 * smoothstep(150, 250, y));
}

TileKey FarLayer::keyOf(int column, int row) const
{
    int s = grid.shape(column, row);
    TileKey key(4);
    if (s == 0 && cellShowsBody(column, row)) {
        key[0] = -1;
        key[1] = column;
        key[2] = row;
        return key;
    }
    key[0] = s;
    key[1] = row;
    key[2] = s == 0 ? hash3(column, row, 45) % 6 : 0;
    return key;
}
