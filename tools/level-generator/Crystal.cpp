#include "Crystal.h"

#include <cmath>

namespace {

struct Palette {
    Pixel dark, mid, light;
};

Palette palette(int k)
{
    Palette p;
    if (k % 2 == 0) {
        p.dark = rgb(18, 84, 146);
        p.mid = rgb(56, 186, 232);
        p.light = rgb(190, 250, 255);
    } else {
        p.dark = rgb(104, 30, 126);
        p.mid = rgb(206, 92, 222);
        p.light = rgb(255, 200, 250);
    }
    return p;
}

struct Shard {
    double baseX, baseY, angle, length, halfWidth;
};

int shardsOf(int k, Shard* shards)
{
    int count = 2 + (k % 3 == 0 ? 1 : 0) + (k == 3 ? 1 : 0);
    for (int i = 0; i < count; i++) {
        Shard& s = shards[i];
        s.baseX = 4.5 + 7.0 * (i + unit3(k, i, 1)) / count;
        s.baseY = 27.0;
        s.angle = (s.baseX - 8.0) / 8.0 * 0.3 + (unit3(k, i, 2) - 0.5) * 0.15;
        s.halfWidth = 2.0 + 1.3 * unit3(k, i, 3);
        s.length = 11.0 + 11.0 * unit3(k, i, 4);
        // keep the whole shard inside its column of cells
        for (;;) {
            double tipX = s.baseX + s.length * std::sin(s.angle);
            if (tipX - s.halfWidth >= 0.5 && tipX + s.halfWidth <= 15.5)
                break;
            s.length -= 1.0;
        }
    }
    // longest first, so that the shorter ones stand in front
    for (int i = 0; i < count; i++)
        for (int j = i + 1; j < count; j++)
            if (shards[j].length > shards[i].length) {
                Shard t = shards[i];
                shards[i] = shards[j];
                shards[j] = t;
            }
    return count;
}

}

Pixel crystalAt(int k, int x, int y)
{
    Shard shards[4];
    int count = shardsOf(k, shards);
    Palette pal = palette(k);
    Pixel out = clearPixel();
    for (int i = 0; i < count; i++) {
        const Shard& s = shards[i];
        double px = x + 0.5 - s.baseX, py = y + 0.5 - s.baseY;
        double along = px * std::sin(s.angle) - py * std::cos(s.angle);
        double across = px * std::cos(s.angle) + py * std::sin(s.angle);
        if (along < 0 || along > s.length)
            continue;
        double taper = s.halfWidth * 1.6;
        double half = along < s.length - taper ? s.halfWidth : s.halfWidth * (s.length - along) / taper;
        if (std::fabs(across) > half + 0.35)
            continue;
        double height = along / s.length;
        Pixel c =
            across < 0 ? mix(pal.mid, pal.light, 0.15 + 0.35 * height) : mix(pal.dark, pal.mid, 0.25 + 0.5 * height);
        if (across < 0 && across > -0.8)
            c = mix(c, pal.light, 0.7);
        if (std::fabs(across) > half - 0.6)
            c = mix(c, across < 0 ? pal.light : pal.dark, 0.55);
        if (along > s.length - 2.0)
            c = mix(c, pal.light, 0.6);
        out = c;
    }
    return out;
}

Pixel gemAt(int k, int x, int y, double& socket)
{
    socket = 0;
    Palette pal = palette(k + 1);
    double cx = 7.5 + unit3(k, 7, 1), cy = 7.5 + unit3(k, 7, 2);
    double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
    double r = std::fabs(dx) * 0.85 + std::fabs(dy);
    double size = 2.8 + 0.6 * k;
    if (r <= size) {
        Pixel c = dx + dy < 0 ? mix(pal.mid, pal.light, 0.4) : mix(pal.dark, pal.mid, 0.5);
        if (r < 1.2)
            c = pal.light;
        return c;
    }
    socket = 0.6 * (1.0 - smoothstep(size, size + 2.0, r));
    return clearPixel();
}
