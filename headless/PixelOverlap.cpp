#include "headless/PixelOverlap.h"

#include <allegro.h>

#include "headless/ScratchFiles.h"
#include "sprites/CollisionMask.h"

bool opaqueAt(BITMAP* bitmap, int x, int y)
{
    return x >= 0 && y >= 0 && x < bitmap->w && y < bitmap->h && getpixel(bitmap, x, y) != bitmap_mask_color(bitmap);
}

bool maskPixel(const CollisionMask& mask, int x, int y)
{
    return (mask.rows[y][x / 32] >> (31 - x % 32)) & 1u;
}

int pixelsOverlap(BITMAP* a, BITMAP* b, int ax, int ay, int bx, int by)
{
    for (int y = 0; y < a->h; ++y) {
        for (int x = 0; x < a->w; ++x) {
            if (opaqueAt(a, x, y) && opaqueAt(b, x + ax - bx, y + ay - by))
                return 1;
        }
    }
    return 0;
}

void complementUnder(BITMAP* a, BITMAP* b, int dx, int dy)
{
    for (int y = 0; y < b->h; ++y) {
        for (int x = 0; x < b->w; ++x) {
            const int xa = x + dx;
            const int ya = y + dy;
            if (xa >= 0 && ya >= 0 && xa < a->w && ya < a->h)
                putpixel(b, x, y, opaqueAt(a, xa, ya) ? bitmap_mask_color(b) : opaqueWhite());
        }
    }
}
