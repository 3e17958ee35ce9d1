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

// load64 of the pair {0, word}: word where the second of two neighbouring words lies, in either byte order.
uint64_t asSecondWord(uint32_t word)
{
    const uint32_t pair[2] = {0, word};
    return load64(pair);
}

// Rotates by count, 1 to 63: a shift by 64 would be undefined.
uint64_t rotateLeft(uint64_t value, int count)
{
    return value << count | value >> (64 - count);
}

// Whether common(i) & keep is non-zero for some row i of n, bottom row first. Four rows
// are folded into one test, so most of the walk runs without a branch per row.
template <typename Common>
int anyCommonRow(ptrdiff_t n, Common common, uint64_t keep = ~uint64_t(0))
{
    ptrdiff_t i = n - 1;
    for (; i >= 3; i -= 4) {
        if ((common(i) | common(i - 1) | common(i - 2) | common(i - 3)) & keep)
            return 1;
    }
    for (; i >= 0; --i) {
        if (common(i) & keep)
            return 1;
    }
    return 0;
}

// Wide masks whose columns differ by offset, a multiple of 32, with a's left edge the
// further right: a's first column meets b's column offset.
__attribute__((noinline)) int linedUpMasksOverlap(const CollisionMask* a, const CollisionMask* b, int offset,
                                                  int rowA, int rowB, ptrdiff_t n)
{
    const ptrdiff_t strideA = a->lastWord + 1;
    const ptrdiff_t strideB = b->lastWord + 1;
    const uint32_t* topA = a->rows[rowA];
    const uint32_t* topB = b->rows[rowB];
    const int lastA = a->lastWord;
    const int lastB = b->lastWord;
    int wordA = 0;
    int wordB = offset / 32;

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

// Wide masks whose columns differ by offset, not a multiple of 32, with a's left edge the
// further right: a's first column meets b's column offset.
__attribute__((noinline)) int shiftedMasksOverlap(const CollisionMask* a, const CollisionMask* b, int offset,
                                                  int rowA, int rowB, ptrdiff_t n)
{
    const ptrdiff_t strideA = a->lastWord + 1;
    const ptrdiff_t strideB = b->lastWord + 1;
    const uint32_t* topA = a->rows[rowA];
    const uint32_t* topB = b->rows[rowB];
    const int lastA = a->lastWord;
    const int lastB = b->lastWord;
    const int shift = offset % 32;
    const int back = 32 - shift;
    int wordA = 0;
    int wordB = offset / 32;

    // Two words of a meet three of b. Read as load64 values, b's pair rotated left by shift
    // lines up with a's in either byte order, except that the first word's leading columns
    // wrap into the second word's last shift columns, where b's third word belongs.
    const uint64_t wrapped = asSecondWord((1u << shift) - 1);
    for (; wordA < lastA && wordB + 2 <= lastB; wordA += 2, wordB += 2) {
        const uint32_t* pa = topA + wordA;
        const uint32_t* pb = topB + wordB;
        if (anyCommonRow(n, [=](ptrdiff_t i) {
                const uint32_t* wb = pb + i * strideB;
                const uint64_t columns = (rotateLeft(load64(wb), shift) & ~wrapped) | asSecondWord(wb[2] >> back);
                return load64(pa + i * strideA) & columns;
            }))
            return 1;
    }
    // b's last two words: nothing lies beyond them, so the wrapped columns are dropped, once
    // for four rows, and a's later words meet nothing.
    if (wordA < lastA && wordB + 1 == lastB) {
        const uint32_t* pa = topA + wordA;
        const uint32_t* pb = topB + wordB;
        return anyCommonRow(
            n, [=](ptrdiff_t i) { return load64(pa + i * strideA) & rotateLeft(load64(pb + i * strideB), shift); },
            ~wrapped);
    }
    // a's last word alone against two words of b.
    if (wordA == lastA && wordB < lastB) {
        const uint32_t* pa = topA + wordA;
        const uint32_t* pb = topB + wordB;
        return anyCommonRow(n, [=](ptrdiff_t i) {
            const uint32_t* wb = pb + i * strideB;
            return pa[i * strideA] & ((wb[0] << shift) | (wb[1] >> back));
        });
    }
    // b's last word holds only 32 - shift of the columns; nothing of b lies beyond them.
    if (wordA <= lastA && wordB == lastB) {
        const uint32_t* pa = topA + wordA;
        const uint32_t* pb = topB + wordB;
        return anyCommonRow(n, [=](ptrdiff_t i) { return pa[i * strideA] & (pb[i * strideB] << shift); });
    }
    return 0;
}

// Masks of which one is more than 32 pixels wide, given the overlap's first row in a and in b
// and its number of rows. Out of line, so that the narrow path saves no registers, and the two
// walks apart, so that each keeps its own.
__attribute__((noinline)) int wideMasksOverlap(const CollisionMask* a, const CollisionMask* b, int ax, int bx,
                                               int rowA, int rowB, ptrdiff_t n)
{
    // The answer is the same either way round, so let a be the mask whose left edge lies
    // further right: a's first column then meets b's column offset, and each word of a
    // meets one word of b, or two when offset is not a multiple of 32.
    if (ax < bx)
        return wideMasksOverlap(b, a, bx, ax, rowB, rowA, n);
    const int offset = ax - bx;
    if (offset % 32 == 0)
        return linedUpMasksOverlap(a, b, offset, rowA, rowB, n);
    return shiftedMasksOverlap(a, b, offset, rowA, rowB, n);
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
