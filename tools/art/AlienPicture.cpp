#include "AlienPicture.h"

#include "PixelArt.h"
#include "core/DataPaths.h"

#include <allegro.h>

namespace {

const int size = 16;

const char* const designs[2][size] = {
    {
        "................",
        ".kk..........kk.",
        ".kpk........kpk.",
        "..kpk.kkkk.kpk..",
        "...kpkMMmmkpk...",
        "....kMMmmmmk....",
        "...kMmkkkkmmk...",
        "..kmmkRWrrkmmk..",
        "..kmmkrRrrkmmk..",
        "...kmmkkkkmdk...",
        "....kmmmmddk....",
        "...kpkmmddkpk...",
        "..kpk.kkkk.kpk..",
        ".kpk........kpk.",
        ".kk..........kk.",
        "................",
    },
    {
        "................",
        "................",
        ".....kkkkkk.....",
        "...kkgGGGGgkk...",
        "..kgGGllllGGgkkk",
        ".kgGlkkkklGgggk.",
        "kgGlkyYYyklGgk..",
        "kgGlkYWWYklGgggk",
        "kgGlkyYYyklGgk..",
        ".kgGlkkkklGgggk.",
        "..kgGGllllGGgkkk",
        "...kkgGGGGgkk...",
        ".....kkkkkk.....",
        "................",
        "................",
        "................",
    },
};

// Both designs outline in 'k'.
const PixelArt::Ink homingInks[] = { { 'k', 20, 8, 24 }, { 'p', 214, 64, 86 }, { 'm', 96, 84, 124 },
    { 'M', 166, 156, 196 }, { 'd', 58, 48, 80 }, { 'r', 196, 18, 30 }, { 'R', 255, 96, 64 }, { 'W', 255, 244, 208 } };
const PixelArt::Ink spareInks[] = { { 'k', 20, 8, 24 }, { 'g', 40, 90, 60 }, { 'G', 80, 170, 90 },
    { 'l', 170, 230, 120 }, { 'y', 230, 160, 20 }, { 'Y', 255, 220, 60 }, { 'W', 255, 255, 210 } };

}

AlienPicture::AlienPicture(int kind)
    : Picture(kind == 0 ? DataPaths::Alien : "bmp/alien2.bmp", size, size, 1), kind(kind)
{
}

void AlienPicture::paintFrame(BITMAP* target, int, int x, int y, int scale) const
{
    const PixelArt art = kind == 0 ? PixelArt(homingInks) : PixelArt(spareInks);
    art.paint(target, designs[kind == 0 ? 0 : 1], size, x, y, scale);
}
