#include "ShotPicture.h"

#include "PixelArt.h"
#include "core/DataPaths.h"

#include <allegro.h>

namespace {

const char* const bolt[] = {
    "..ooyyyWW.",
    "ooyyWWWWWW",
    "ooyyWWWWWW",
    "..ooyyyWW.",
};

}

ShotPicture::ShotPicture() : Picture(DataPaths::Shot, 10, 4, 1) {}

void ShotPicture::paintFrame(BITMAP* target, int, int x, int y, int scale) const
{
    PixelArt art;
    art.setColour('o', PixelArt::solid(255, 120, 30));
    art.setColour('y', PixelArt::solid(255, 230, 90));
    art.setColour('W', PixelArt::solid(255, 255, 235));
    art.paint(target, bolt, 4, x, y, scale);
}
