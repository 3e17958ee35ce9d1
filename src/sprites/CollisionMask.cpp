#include "sprites/CollisionMask.h"

#include <allegro.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>

CollisionMask* createMask(BITMAP* bitmap)
{
    if (!bitmap)
        return nullptr;

    int32_t height = bitmap->h > 0 ? bitmap->h : 0;
    int32_t width = bitmap->w > 0 ? bitmap->w : 0;

    // The rows table trails the structure, so the header and its row pointers are one block.
    size_t headerSize = offsetof(CollisionMask, rows) + static_cast<size_t>(height) * sizeof(uint32_t*);
    if (headerSize < sizeof(CollisionMask))
        headerSize = sizeof(CollisionMask);
    CollisionMask* mask = static_cast<CollisionMask*>(malloc(headerSize));
    if (!mask)
        return nullptr;

    mask->height = height;
    mask->width = width;
    mask->lastWord = width % 32 == 0 ? width / 32 - 1 : width / 32;

    size_t wordsPerRow = static_cast<size_t>(mask->lastWord + 1);
    size_t words = wordsPerRow * static_cast<size_t>(height);
    // An empty bitmap still gets a block of its own, so that destroyMask has one thing to free.
    mask->bits = static_cast<uint32_t*>(malloc((words > 0 ? words : 1) * sizeof(uint32_t)));
    if (!mask->bits) {
        free(mask);
        return nullptr;
    }
    memset(mask->bits, 0, (words > 0 ? words : 1) * sizeof(uint32_t));

    uint32_t* row = mask->bits;
    for (int32_t y = 0; y < height; ++y) {
        mask->rows[y] = row;
        row += wordsPerRow;
    }

    int transparent = bitmap_mask_color(bitmap);
    for (int32_t y = 0; y < height; ++y) {
        uint32_t* words = mask->rows[y];
        for (int32_t x = 0; x < width; ++x) {
            if (getpixel(bitmap, x, y) != transparent)
                words[x / 32] |= 0x80000000u >> (x % 32);
        }
    }
    return mask;
}

void destroyMask(CollisionMask* mask)
{
    if (!mask)
        return;
    free(mask->bits);
    free(mask);
}

namespace {

uint64_t load64(const uint32_t* words)
{
    uint64_t value;
    memcpy(&value, words, sizeof value);
    return value;
}

// Whether common(i) is non-zero for some row i of n, bottom row first. Four rows
// are folded into one test, so most of the walk runs without a branch per row.
template <typename Common>
int anyCommonRow(ptrdiff_t n, Common common)
{
    ptrdiff_t i = n - 1;
    for (; i >= 3; i -= 4) {
        if (common(i) | common(i - 1) | common(i - 2) | common(i - 3))
            return 1;
    }
    for (; i >= 0; --i) {
        if (common(i))
            return 1;
    }
    return 0;
}

// Masks of which one is more than 32 pixels wide, given the overlap's first row in a and in b
// and its number of rows. Kept out of line, so that the narrow path saves no registers.
__attribute__((noinline)) int wideMasksOverlap(const CollisionMask* a, const CollisionMask* b, int ax, int bx,
                                               int rowA, int rowB, ptrdiff_t n)
{
    // The answer is the same either way round, so let a be the mask whose left edge lies
    // further right: a's first column then meets b's column offset, and each word of a
    // meets one word of b, or two when offset is not a multiple of 32.
    if (ax < bx) {
        const CollisionMask* other = a;
        a = b;
        b = other;
        int x = ax;
        ax = bx;
        bx = x;
        int row = rowA;
        rowA = rowB;
        rowB = row;
    }
    const int offset = ax - bx;
    const ptrdiff_t strideA = a->lastWord + 1;
    const ptrdiff_t strideB = b->lastWord + 1;
    const uint32_t* topA = a->rows[rowA];
    const uint32_t* topB = b->rows[rowB];
    const int lastA = a->lastWord;
    const int lastB = b->lastWord;
    const int shift = offset % 32;
    int wordA = 0;
    int wordB = offset / 32;

    if (shift == 0) {
        // Lined-up words pair into 64 bits: both sides hold the same two groups of
        // 32 columns in the same halves, whatever the byte order.
        for (; wordA < lastA && wordB < lastB; wordA += 2, wordB += 2) {
            const uint32_t* pa = topA + wordA;
            const uint32_t* pb = topB + wordB;
            if (anyCommonRow(n, [=](ptrdiff_t i) { return load64(pa + i * strideA) & load64(pb + i * strideB); }))
                return 1;
        }
        if (wordA <= lastA && wordB <= lastB) {
            const uint32_t* pa = topA + wordA;
            const uint32_t* pb = topB + wordB;
            return anyCommonRow(n, [=](ptrdiff_t i) { return pa[i * strideA] & pb[i * strideB]; });
        }
        return 0;
    }

    const int back = 32 - shift;
    for (; wordA <= lastA && wordB < lastB; ++wordA, ++wordB) {
        const uint32_t* pa = topA + wordA;
        const uint32_t* pb = topB + wordB;
        if (anyCommonRow(n, [=](ptrdiff_t i) {
                const uint32_t* wb = pb + i * strideB;
                return pa[i * strideA] & ((wb[0] << shift) | (wb[1] >> back));
            }))
            return 1;
    }
    // b's last word holds only 32 - shift of the columns; nothing of b lies beyond them.
    if (wordA <= lastA && wordB == lastB) {
        const uint32_t* pa = topA + wordA;
        const uint32_t* pb = topB + wordB;
        return anyCommonRow(n, [=](ptrdiff_t i) { return pa[i * strideA] & (pb[i * strideB] << shift); });
    }
    return 0;
}

}

int masksOverlap(const CollisionMask* a, const CollisionMask* b, int ax, int ay, int bx, int by)
{
    if (ax >= bx + b->width || bx >= ax + a->width || ay >= by + b->height || by >= ay + a->height)
        return 0;

    const int rowA = ay > by ? 0 : by - ay;
    const int rowB = ay > by ? ay - by : 0;
    const int rowsA = a->height - rowA;
    const int rowsB = b->height - rowB;
    const ptrdiff_t n = rowsA < rowsB ? rowsA : rowsB;
    if (n <= 0)
        return 0;
    if ((a->lastWord | b->lastWord) != 0)
        return wideMasksOverlap(a, b, ax, bx, rowA, rowB, n);

    // Every sprite frame and tile of the game is at most 32 pixels wide: one word a row on
    // each side, rows one word apart, and the boxes meet, so the columns differ by less than 32.
    const int shiftA = bx > ax ? bx - ax : 0;
    const int shiftB = ax > bx ? ax - bx : 0;
    const uint32_t* pa = a->rows[rowA];
    const uint32_t* pb = b->rows[rowB];
    return anyCommonRow(n, [=](ptrdiff_t i) { return (pa[i] << shiftA) & (pb[i] << shiftB); });
}
