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
    const PixelArt::Ink inks[] = { { 'o', 255, 120, 30 }, { 'y', 255, 230, 90 }, { 'W', 255, 255, 235 } };
    PixelArt(inks).paint(target, bolt, 4, x, y, scale);
}
