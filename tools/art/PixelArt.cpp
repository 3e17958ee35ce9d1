#include "PixelArt.h"

#include <allegro.h>

#include <cstring>

PixelArt::PixelArt()
{
    for (int i = 0; i < 128; ++i) {
        colours[i] = 0;
        used[i] = false;
    }
}

void PixelArt::setColour(char letter, int colour)
{
    unsigned char index = static_cast<unsigned char>(letter);
    if (index >= 128)
        return;
    colours[index] = colour;
    used[index] = true;
}

void PixelArt::paint(BITMAP* target, const char* const* rows, int count, int x, int y, int scale) const
{
    for (int row = 0; row < count; ++row) {
        int length = static_cast<int>(std::strlen(rows[row]));
        for (int column = 0; column < length; ++column) {
            unsigned char letter = static_cast<unsigned char>(rows[row][column]);
            if (letter >= 128 || !used[letter])
                continue;
            plot(target, x + column * scale, y + row * scale, scale, colours[letter]);
        }
    }
}

int PixelArt::solid(int r, int g, int b)
{
    if (r == 255 && g == 0 && b == 255)
        g = 1;
    return makecol(r, g, b);
}

BITMAP* PixelArt::transparentBitmap(int width, int height)
{
    BITMAP* bitmap = create_bitmap_ex(32, width, height);
    if (bitmap)
        clear_to_color(bitmap, bitmap_mask_color(bitmap));
    return bitmap;
}

void PixelArt::plot(BITMAP* target, int x, int y, int scale, int colour)
{
    rectfill(target, x, y, x + scale - 1, y + scale - 1, colour);
}
