#include "ShotPicture.h"

#include "PixelArt.h"

#include <allegro.h>

namespace {

const char* const bolt[] = {
    "..ooyyyWW.",
    "ooyyWWWWWW",
    "ooyyWWWWWW",
    "..ooyyyWW.",
};

}

const char* ShotPicture::path() const
{
    return "bmp/shoot.bmp";
}

BITMAP* ShotPicture::paint() const
{
    BITMAP* picture = PixelArt::transparentBitmap(10, 4);
    if (picture)
        paintShot(picture, 0, 0, 1);
    return picture;
}

void ShotPicture::paintShot(BITMAP* target, int x, int y, int scale)
{
    PixelArt art;
    art.setColour('o', PixelArt::solid(255, 120, 30));
    art.setColour('y', PixelArt::solid(255, 230, 90));
    art.setColour('W', PixelArt::solid(255, 255, 235));
    art.paint(target, bolt, 4, x, y, scale);
}
