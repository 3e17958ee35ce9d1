#include "ShipPicture.h"

#include "PixelArt.h"

#include <allegro.h>

namespace {

const int width = 24;
const int height = 12;

const char* const frames[2][height] = {
    {
        "........................",
        "..kkkk..................",
        "..kwwhkk................",
        "...kwhhgkk..............",
        "..nkkwhhhgkkkkkk........",
        "..nkhwwwwhhhhkCckkk.....",
        "oynkwwwwwwwwwwkcCcchkkk.",
        "oynkhhhhhhhhhhhhhhhhwwkk",
        "..nkggrrrrrrggggggggkkk.",
        "..nkkdgggdkkkkkkkkkkk...",
        "...kdgggkk..............",
        "..kddkkk................",
    },
    {
        "........................",
        "..kkkk..................",
        "..kwwhkk................",
        "...kwhhgkk..............",
        "..nkkwhhhgkkkkkk........",
        ".onkhwwwwhhhhkCckkk.....",
        "yWnkwwwwwwwwwwkcCcchkkk.",
        "yWnkhhhhhhhhhhhhhhhhwwkk",
        ".onkggrrrrrrggggggggkkk.",
        "..nkkdgggdkkkkkkkkkkk...",
        "...kdgggkk..............",
        "..kddkkk................",
    },
};

PixelArt shipArt()
{
    PixelArt art;
    art.setColour('k', PixelArt::solid(14, 18, 38));
    art.setColour('w', PixelArt::solid(236, 242, 255));
    art.setColour('h', PixelArt::solid(168, 182, 210));
    art.setColour('g', PixelArt::solid(104, 116, 150));
    art.setColour('d', PixelArt::solid(64, 70, 102));
    art.setColour('c', PixelArt::solid(40, 170, 235));
    art.setColour('C', PixelArt::solid(200, 250, 255));
    art.setColour('r', PixelArt::solid(226, 54, 44));
    art.setColour('n', PixelArt::solid(84, 84, 96));
    art.setColour('o', PixelArt::solid(255, 130, 20));
    art.setColour('y', PixelArt::solid(255, 224, 80));
    art.setColour('W', PixelArt::solid(255, 255, 224));
    return art;
}

}

const char* ShipPicture::path() const
{
    return "bmp/player.bmp";
}

BITMAP* ShipPicture::paint() const
{
    BITMAP* strip = PixelArt::transparentBitmap(width, height * 2);
    if (!strip)
        return 0;
    paintShip(strip, 0, 0, 0, 1);
    paintShip(strip, 1, 0, height, 1);
    return strip;
}

void ShipPicture::paintShip(BITMAP* target, int frame, int x, int y, int scale)
{
    shipArt().paint(target, frames[frame & 1], height, x, y, scale);
}
