#include "ShipPicture.h"

#include "PixelArt.h"
#include "core/DataPaths.h"

#include <allegro.h>

namespace {

const int width = 24;
const int height = 12;

const char* const shipFrames[2][height] = {
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

ShipPicture::ShipPicture() : Picture(DataPaths::Player, width, height, 2) {}

void ShipPicture::paintFrame(BITMAP* target, int frame, int x, int y, int scale) const
{
    shipArt().paint(target, shipFrames[frame & 1], height, x, y, scale);
}
