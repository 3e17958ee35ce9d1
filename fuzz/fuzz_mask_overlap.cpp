#include <allegro.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FuzzWorld.h"
#include "sprites/CollisionMask.h"

// masksOverlap against the plain answer: some pixel opaque in both bitmaps at their placed positions.
namespace {

struct InputBytes {
    const uint8_t* data;
    size_t size;
    size_t pos;

    int next()
    {
        return pos < size ? data[pos++] : 0;
    }
};

BITMAP* bitmapFrom(InputBytes& in, int width, int height)
{
    BITMAP* bitmap = create_bitmap_ex(32, width, height);
    if (!bitmap)
        abort();
    const int opaque = makecol32(10, 200, 30);
    const int clear = bitmap_mask_color(bitmap);
    int bits = 0;
    int left = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (left == 0) {
                bits = in.next();
                left = 8;
            }
            putpixel(bitmap, x, y, (bits & 1) ? opaque : clear);
            bits >>= 1;
            --left;
        }
    }
    return bitmap;
}

bool opaqueAt(BITMAP* bitmap, int x, int y)
{
    return x >= 0 && y >= 0 && x < bitmap->w && y < bitmap->h && getpixel(bitmap, x, y) != bitmap_mask_color(bitmap);
}

int expectedOverlap(BITMAP* a, BITMAP* b, int ax, int ay, int bx, int by)
{
    for (int y = 0; y < a->h; ++y) {
        for (int x = 0; x < a->w; ++x) {
            if (opaqueAt(a, x, y) && opaqueAt(b, x + ax - bx, y + ay - by))
                return 1;
        }
    }
    return 0;
}

// Makes b, at (dx, dy) from a, opaque exactly where a is clear under it: then no pixel is
// shared, and any column compared with the wrong one shows as a common pixel.
void complementUnder(BITMAP* a, BITMAP* b, int dx, int dy)
{
    const int opaque = makecol32(10, 200, 30);
    for (int y = 0; y < b->h; ++y) {
        for (int x = 0; x < b->w; ++x) {
            const int xa = x + dx;
            const int ya = y + dy;
            if (xa >= 0 && ya >= 0 && xa < a->w && ya < a->h)
                putpixel(b, x, y, opaqueAt(a, xa, ya) ? bitmap_mask_color(b) : opaque);
        }
    }
}

void checkMask(const CollisionMask* mask, BITMAP* bitmap)
{
    if (!mask || mask->width != bitmap->w || mask->height != bitmap->h)
        abort();
    for (int y = 0; y < mask->height; ++y) {
        for (int word = 0; word <= mask->lastWord; ++word) {
            for (int bit = 0; bit < 32; ++bit) {
                const int x = word * 32 + bit;
                const bool set = (mask->rows[y][word] >> (31 - bit)) & 1;
                if (set != opaqueAt(bitmap, x, y))
                    abort();
            }
        }
    }
}

}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzWorld::initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    InputBytes in = {data, size, 0};
    // Widths up to 130 pixels cover masks of one to five words per row, and the offsets
    // below every shift of 0 to 63 columns either way, plus whole words.
    const int widthA = in.next() % 130 + 1;
    const int heightA = in.next() % 40 + 1;
    const int widthB = in.next() % 130 + 1;
    const int heightB = in.next() % 40 + 1;
    int offsets[4];
    for (int& offset : offsets) {
        const int low = in.next();
        const int high = in.next();
        offset = ((high << 8 | low) % 601) - 300;
    }
    const bool complement = in.next() & 1;
    BITMAP* a = bitmapFrom(in, widthA, heightA);
    BITMAP* b = bitmapFrom(in, widthB, heightB);
    if (complement)
        complementUnder(a, b, offsets[2] - offsets[0], offsets[3] - offsets[1]);
    CollisionMask* maskA = createMask(a);
    CollisionMask* maskB = createMask(b);
    checkMask(maskA, a);
    checkMask(maskB, b);

    // The offsets are small, so try them from a far corner of the world as well.
    const int bases[] = {0, 1000000, -1000000};
    for (int base : bases) {
        const int ax = base + offsets[0];
        const int ay = base + offsets[1];
        const int bx = base + offsets[2];
        const int by = base + offsets[3];
        const int expected = expectedOverlap(a, b, ax, ay, bx, by);
        if (masksOverlap(maskA, maskB, ax, ay, bx, by) != expected)
            abort();
        if (masksOverlap(maskB, maskA, bx, by, ax, ay) != expected)
            abort();
    }
    destroyMask(maskA);
    destroyMask(maskB);
    destroy_bitmap(a);
    destroy_bitmap(b);
    return 0;
}
