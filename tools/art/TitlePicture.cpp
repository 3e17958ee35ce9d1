#include "TitlePicture.h"

#include "AlienPicture.h"
#include "FontPicture.h"
#include "Noise.h"
#include "PixelArt.h"
#include "ShipPicture.h"
#include "ShotPicture.h"
#include "core/DataPaths.h"
#include "render/Screen.h"

#include <allegro.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Big letters on a grid of blocks. 'X' is a full block; the digits are half
// blocks cut along a diagonal, named after the corner they fill:
// 1 bottom-right, 2 bottom-left, 3 top-left, 4 top-right.
const int letterRows = 8;

struct Letter {
    const char* rows[letterRows];
};

const Letter letters[] = {
    { { "1XXXXX",
        "XXXXXX",
        "XX....",
        "XXXXX2",
        "4XXXXX",
        "....XX",
        "XXXXXX",
        "XXXXX3" } },
    { { "XX..XX",
        "XX.1X3",
        "XX1X3.",
        "XXXX..",
        "XXXX..",
        "XX4X2.",
        "XX.4X2",
        "XX..XX" } },
    { { "XXXX",
        "XXXX",
        ".XX.",
        ".XX.",
        ".XX.",
        ".XX.",
        "XXXX",
        "XXXX" } },
    { { "1XXXXX",
        "XXXXXX",
        "XX....",
        "XXXX..",
        "XXXX..",
        "XX....",
        "XX....",
        "XX...." } },
};
// The name, SKIFF, as glyphs of letters: the two F are one glyph.
const int word[] = { 0, 1, 2, 3, 3 };
const int letterCount = sizeof word / sizeof word[0];
const int block = 8;
const int letterGap = 7;
// Letters lean forward by one pixel every few rows.
const double slant = 0.22;

bool blockCovers(char cell, double u, double v)
{
    switch (cell) {
    case 'X': return true;
    case '1': return u + v >= 1.0;
    case '2': return v >= u;
    case '3': return u + v <= 1.0;
    case '4': return u >= v;
    default: return false;
    }
}

// A grid of booleans the size of the screen.
class Mask {
public:
    Mask() : cells(ScreenWidth * ScreenHeight, false) {}
    bool at(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= ScreenWidth || y >= ScreenHeight)
            return false;
        return cells[y * ScreenWidth + x];
    }
    void set(int x, int y)
    {
        if (x >= 0 && y >= 0 && x < ScreenWidth && y < ScreenHeight)
            cells[y * ScreenWidth + x] = true;
    }

private:
    std::vector<bool> cells;
};

int mixChannel(int a, int b, double t)
{
    if (t < 0.0)
        t = 0.0;
    if (t > 1.0)
        t = 1.0;
    return static_cast<int>(a + (b - a) * t + 0.5);
}

int clampChannel(double c)
{
    if (c < 0.0)
        return 0;
    if (c > 255.0)
        return 255;
    return static_cast<int>(c);
}

void paintSky(BITMAP* target)
{
    Noise nebula(2024);
    Noise veil(77);
    for (int y = 0; y < ScreenHeight; ++y)
        for (int x = 0; x < ScreenWidth; ++x) {
            double t = static_cast<double>(y) / ScreenHeight;
            double r = 3 + 10 * t;
            double g = 4 + 4 * t;
            double b = 16 + 18 * t;
            double cloud = nebula.fractal(x / 70.0, y / 50.0, 4) - 0.42;
            if (cloud > 0.0) {
                r += cloud * 150;
                g += cloud * 30;
                b += cloud * 170;
            }
            double mist = veil.fractal(x / 40.0 + 9.0, y / 60.0, 3) - 0.5;
            if (mist > 0.0) {
                g += mist * 90;
                b += mist * 100;
            }
            // A few quantised levels keep the sky in the pixel-art spirit.
            int rq = clampChannel(r) & ~3;
            int gq = clampChannel(g) & ~3;
            int bq = clampChannel(b) & ~3;
            putpixel(target, x, y, PixelArt::solid(rq, gq, bq));
        }

    Noise stars(99);
    for (int i = 0; i < 220; ++i) {
        int x = stars.below(ScreenWidth);
        int y = stars.below(ScreenHeight);
        int level = stars.below(10);
        int bright = level < 6 ? 90 + level * 16 : 200 + level * 5;
        int tint = stars.below(3);
        int r = tint == 1 ? bright : bright - 20;
        int g = bright - 10;
        int b = tint == 2 ? bright - 40 : bright;
        putpixel(target, x, y, PixelArt::solid(clampChannel(r), clampChannel(g), clampChannel(b)));
        if (level == 9) {
            int soft = PixelArt::solid(r / 2, g / 2, b / 2 + 20);
            putpixel(target, x - 1, y, soft);
            putpixel(target, x + 1, y, soft);
            putpixel(target, x, y - 1, soft);
            putpixel(target, x, y + 1, soft);
        }
    }
}

// Height of a cave wall at column x: a slow swell with jagged detail.
double wallHeight(const Noise& noise, int x, double base, double swell, double jag)
{
    double slow = noise.fractal(x / 55.0, 3.0, 3);
    double sharp = noise.at(x / 6.0, 11.0);
    return base + (slow - 0.5) * 2.0 * swell + (sharp - 0.5) * 2.0 * jag;
}

// Stalactites and stalagmites: tapering spikes scattered along a wall.
double spikeAt(unsigned seed, int x)
{
    Noise spikes(seed + 500);
    double tallest = 0.0;
    for (int i = 0; i < 14; ++i) {
        double centre = spikes.unit() * ScreenWidth;
        double halfWidth = 2.0 + spikes.unit() * 4.0;
        double length = 5.0 + spikes.unit() * 16.0;
        double off = std::fabs(x - centre) / halfWidth;
        if (off < 1.0 && length * (1.0 - off) > tallest)
            tallest = length * (1.0 - off);
    }
    return tallest;
}

// Rock hanging from the top (fromTop) or rising from the bottom, lit on its rim.
void paintWall(BITMAP* target, unsigned seed, bool fromTop, double base, double swell, double jag,
    const int rim[3], const int face[3], const int deep[3])
{
    Noise shape(seed);
    Noise grain(seed * 7 + 1);
    for (int x = 0; x < ScreenWidth; ++x) {
        double height = wallHeight(shape, x, base, swell, jag);
        height += spikeAt(seed, x);
        int reach = static_cast<int>(height);
        for (int depth = 0; depth < reach; ++depth) {
            int y = fromTop ? reach - 1 - depth : ScreenHeight - reach + depth;
            double speck = grain.fractal(x / 5.0, y / 5.0, 2);
            int colour;
            if (depth < 2) {
                colour = PixelArt::solid(rim[0], rim[1], rim[2]);
            } else {
                double t = (depth - 2) / 14.0 + (speck - 0.5) * 0.9;
                colour = PixelArt::solid(mixChannel(face[0], deep[0], t), mixChannel(face[1], deep[1], t),
                    mixChannel(face[2], deep[2], t));
            }
            putpixel(target, x, y, colour);
        }
    }
}

void paintCave(BITMAP* target)
{
    const int farRim[3] = { 40, 36, 70 };
    const int farFace[3] = { 26, 22, 48 };
    const int farDeep[3] = { 14, 12, 28 };
    paintWall(target, 5, true, 34, 14, 4, farRim, farFace, farDeep);
    paintWall(target, 6, false, 46, 14, 4, farRim, farFace, farDeep);

    const int rim[3] = { 150, 104, 120 };
    const int face[3] = { 84, 56, 74 };
    const int deep[3] = { 26, 16, 30 };
    paintWall(target, 11, true, 18, 9, 3, rim, face, deep);
    paintWall(target, 12, false, 24, 9, 3, rim, face, deep);
}

void paintTitle(BITMAP* target, int top)
{
    int width = 0;
    for (int i = 0; i < letterCount; ++i)
        width += static_cast<int>(std::strlen(letters[word[i]].rows[0])) * block + (i ? letterGap : 0);
    int height = letterRows * block;
    int lean = static_cast<int>(height * slant);
    int left = (ScreenWidth - width - lean) / 2;

    Mask title;
    int pen = left;
    for (int i = 0; i < letterCount; ++i) {
        int columns = static_cast<int>(std::strlen(letters[word[i]].rows[0]));
        for (int py = 0; py < height; ++py) {
            double shift = (height - 1 - py) * slant;
            for (int px = -lean - 2; px < columns * block + lean + 2; ++px) {
                double lx = px - shift;
                if (lx < 0.0 || lx >= columns * block)
                    continue;
                int column = static_cast<int>(lx) / block;
                int row = py / block;
                double u = (lx - column * block) / block;
                double v = (py - row * block + 0.5) / block;
                if (blockCovers(letters[word[i]].rows[row][column], u, v))
                    title.set(pen + px, top + py);
            }
        }
        pen += columns * block + letterGap;
    }

    const int shadowX = 4;
    const int shadowY = 5;
    for (int y = 0; y < ScreenHeight; ++y)
        for (int x = 0; x < ScreenWidth; ++x) {
            if (title.at(x, y))
                continue;
            bool near = false;
            for (int dy = -2; dy <= 2 && !near; ++dy)
                for (int dx = -2; dx <= 2 && !near; ++dx)
                    near = title.at(x + dx, y + dy) && dx * dx + dy * dy <= 5;
            if (near)
                putpixel(target, x, y, PixelArt::solid(24, 8, 10));
            else if (title.at(x - shadowX, y - shadowY))
                putpixel(target, x, y, PixelArt::solid(6, 2, 12));
        }

    // Gold chrome: a pale sky above the horizon line, molten below it.
    for (int y = top; y < top + height; ++y) {
        double t = static_cast<double>(y - top) / (height - 1);
        int r, g, b;
        if (t < 0.5) {
            double s = t / 0.5;
            r = 255;
            g = mixChannel(252, 214, s);
            b = mixChannel(232, 110, s);
        } else {
            double s = (t - 0.5) / 0.5;
            r = mixChannel(196, 255, s);
            g = mixChannel(76, 176, s);
            b = mixChannel(16, 50, s);
        }
        int fill = PixelArt::solid(r, g, b);
        int light = PixelArt::solid(255, 255, 255);
        int dark = PixelArt::solid(mixChannel(r, 90, 0.55), mixChannel(g, 30, 0.55), mixChannel(b, 10, 0.55));
        for (int x = 0; x < ScreenWidth; ++x) {
            if (!title.at(x, y))
                continue;
            int colour = fill;
            if (!title.at(x - 1, y - 1) || !title.at(x, y - 1))
                colour = light;
            else if (!title.at(x + 1, y + 1) || !title.at(x, y + 1) || !title.at(x + 1, y))
                colour = dark;
            putpixel(target, x, y, colour);
        }
    }
}

void paintFlight(BITMAP* target)
{
    const int scale = 3;
    const int shipX = 54;
    const int shipY = 132;

    // The exhaust trail fades out behind the ship.
    Noise trail(31);
    for (int x = 0; x < shipX; ++x) {
        double t = static_cast<double>(x) / shipX;
        for (int lane = 0; lane < 2; ++lane) {
            if (trail.unit() > 0.35 + t * 0.6)
                continue;
            int y = shipY + 15 + lane * 3 + (trail.below(3) - 1);
            int r = mixChannel(60, 255, t);
            int g = mixChannel(20, 170, t);
            int b = mixChannel(40, 60, t);
            rectfill(target, x, y, x + 1, y + 1, PixelArt::solid(r, g, b));
        }
    }

    // Streaks of light pass by the ship.
    Noise streaks(8);
    for (int i = 0; i < 16; ++i) {
        int y = 118 + streaks.below(72);
        int x = streaks.below(300);
        int length = 8 + streaks.below(26);
        int bright = 70 + streaks.below(80);
        hline(target, x, y, x + length, PixelArt::solid(bright / 2, bright * 3 / 4, bright));
    }

    ShipPicture().paintFrame(target, 1, shipX, shipY, scale);
    ShotPicture().paintFrame(target, 0, 150, shipY + 16, 2);
    ShotPicture().paintFrame(target, 0, 196, shipY + 16, 2);
    AlienPicture(0).paintFrame(target, 0, 252, shipY - 2, 2);
}

void paintPrompt(BITMAP* target)
{
    const char* prompt = "PRESS A KEY";
    int width = FontPicture::textWidth(prompt, 1, 2);
    FontPicture::paintText(target, prompt, (ScreenWidth - width) / 2, 194, 1, 2);
}

}

TitlePicture::TitlePicture() : Picture(DataPaths::Intro, ScreenWidth, ScreenHeight, 1) {}

BITMAP* TitlePicture::paint() const
{
    BITMAP* picture = create_bitmap_ex(32, ScreenWidth, ScreenHeight);
    if (!picture)
        return 0;
    paintSky(picture);
    paintCave(picture);
    paintTitle(picture, 38);
    paintFlight(picture);
    paintPrompt(picture);
    return picture;
}
