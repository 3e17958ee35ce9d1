#include "ShipPicture.h"

#include "PixelArt.h"
#include "core/DataPaths.h"

#include <allegro.h>

namespace {

enum { width = 24, height = 12 };

const char* const hull[height] = {
    "........................",
    "..kkkk..................",
    "..kwwhkk................",
    "...kwhhgkk..............",
    "..nkkwhhhgkkkkkk........",
    "..nkhwwwwhhhhkCckkk.....",
    "..nkwwwwwwwwwwkcCcchkkk.",
    "..nkhhhhhhhhhhhhhhhhwwkk",
    "..nkggrrrrrrggggggggkkk.",
    "..nkkdgggdkkkkkkkkkkk...",
    "...kdgggkk..............",
    "..kddkkk................",
};

// The engine's flame, which flickers from frame to frame: the first two columns of rows 5 to 8.
const int flameTop = 5;
const char* const flames[2][4] = {
    { "..", "oy", "oy", ".." },
    { ".o", "yW", "yW", ".o" },
};

const PixelArt::Ink shipInks[] = { { 'k', 14, 18, 38 }, { 'w', 236, 242, 255 }, { 'h', 168, 182, 210 },
    { 'g', 104, 116, 150 }, { 'd', 64, 70, 102 }, { 'c', 40, 170, 235 }, { 'C', 200, 250, 255 },
    { 'r', 226, 54, 44 }, { 'n', 84, 84, 96 }, { 'o', 255, 130, 20 }, { 'y', 255, 224, 80 }, { 'W', 255, 255, 224 } };

}

ShipPicture::ShipPicture() : Picture(DataPaths::Player, width, height, 2) {}

void ShipPicture::paintFrame(BITMAP* target, int frame, int x, int y, int scale) const
{
    const PixelArt art(shipInks);
    art.paint(target, hull, height, x, y, scale);
    art.paint(target, flames[frame & 1], 4, x, y + flameTop * scale, scale);
}
