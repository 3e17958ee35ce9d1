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

PixelArt alienArt(int kind)
{
    PixelArt art;
    art.setColour('k', PixelArt::solid(20, 8, 24));
    if (kind == 0) {
        art.setColour('p', PixelArt::solid(214, 64, 86));
        art.setColour('m', PixelArt::solid(96, 84, 124));
        art.setColour('M', PixelArt::solid(166, 156, 196));
        art.setColour('d', PixelArt::solid(58, 48, 80));
        art.setColour('r', PixelArt::solid(196, 18, 30));
        art.setColour('R', PixelArt::solid(255, 96, 64));
        art.setColour('W', PixelArt::solid(255, 244, 208));
    } else {
        art.setColour('g', PixelArt::solid(40, 90, 60));
        art.setColour('G', PixelArt::solid(80, 170, 90));
        art.setColour('l', PixelArt::solid(170, 230, 120));
        art.setColour('y', PixelArt::solid(230, 160, 20));
        art.setColour('Y', PixelArt::solid(255, 220, 60));
        art.setColour('W', PixelArt::solid(255, 255, 210));
    }
    return art;
}

}

AlienPicture::AlienPicture(int kind)
    : Picture(kind == 0 ? DataPaths::Alien : "bmp/alien2.bmp", size, size, 1), kind(kind)
{
}

void AlienPicture::paintFrame(BITMAP* target, int, int x, int y, int scale) const
{
    int design = kind == 0 ? 0 : 1;
    alienArt(design).paint(target, designs[design], size, x, y, scale);
}
