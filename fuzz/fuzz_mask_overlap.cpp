#include <allegro.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "headless/PixelOverlap.h"
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

void checkMask(const CollisionMask* mask, BITMAP* bitmap)
{
    if (!mask || mask->width != bitmap->w || mask->height != bitmap->h)
        abort();
    for (int y = 0; y < mask->height; ++y) {
        // On to the end of the row's last word, whose bits past the width must be clear.
        for (int x = 0; x < 32 * (mask->lastWord + 1); ++x) {
            if (maskPixel(*mask, x, y) != opaqueAt(bitmap, x, y))
                abort();
        }
    }
}

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
        const int expected = pixelsOverlap(a, b, ax, ay, bx, by);
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
