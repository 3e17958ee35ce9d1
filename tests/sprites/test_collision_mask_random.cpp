#include <allegro.h>
#include <gtest/gtest.h>

#include <random>

#include "headless/ScratchFiles.h"
#include "sprites/CollisionMask.h"

namespace {

bool opaque(BITMAP* bitmap, int x, int y)
{
    return x >= 0 && y >= 0 && x < bitmap->w && y < bitmap->h && getpixel(bitmap, x, y) != magenta();
}

// The overlap question answered pixel by pixel from the bitmaps themselves.
int referenceOverlap(BITMAP* a, BITMAP* b, int ax, int ay, int bx, int by)
{
    for (int y = 0; y < a->h; ++y) {
        for (int x = 0; x < a->w; ++x) {
            if (opaque(a, x, y) && opaque(b, ax + x - bx, ay + y - by))
                return 1;
        }
    }
    return 0;
}

BITMAP* randomBitmap(std::mt19937& random)
{
    std::uniform_int_distribution<int> size(1, 100);
    BITMAP* bitmap = makeBitmap(size(random), size(random), magenta());
    // Densities from a lone pixel or two to nearly solid, so both answers come up often.
    const double densities[] = {0.001, 0.01, 0.1, 0.5, 0.95};
    double density = densities[std::uniform_int_distribution<int>(0, 4)(random)];
    std::bernoulli_distribution set(density);
    int white = makecol(255, 255, 255);
    for (int y = 0; y < bitmap->h; ++y) {
        for (int x = 0; x < bitmap->w; ++x) {
            if (set(random))
                putpixel(bitmap, x, y, white);
        }
    }
    return bitmap;
}

}

TEST(MaskRandom, MaskBitsMatchTheOpaquePixelsAndNothingBeyondTheWidth)
{
    std::mt19937 random(20240611u);
    for (int round = 0; round < 200; ++round) {
        BITMAP* bitmap = randomBitmap(random);
        CollisionMask* mask = createMask(bitmap);
        ASSERT_NE(mask, nullptr);
        ASSERT_EQ(mask->lastWord, (bitmap->w + 31) / 32 - 1);
        for (int y = 0; y < bitmap->h; ++y) {
            for (int x = 0; x < (mask->lastWord + 1) * 32; ++x) {
                bool bit = (mask->rows[y][x / 32] >> (31 - x % 32)) & 1u;
                ASSERT_EQ(bit, opaque(bitmap, x, y)) << "round " << round << " at " << x << "," << y;
            }
        }
        destroyMask(mask);
        destroy_bitmap(bitmap);
    }
}

TEST(MaskRandom, OverlapAgreesWithAPixelByPixelComparison)
{
    std::mt19937 random(7919u);
    int hits = 0;
    int misses = 0;
    for (int round = 0; round < 400; ++round) {
        BITMAP* a = randomBitmap(random);
        BITMAP* b = randomBitmap(random);
        CollisionMask* maskA = createMask(a);
        CollisionMask* maskB = createMask(b);
        ASSERT_NE(maskA, nullptr);
        ASSERT_NE(maskB, nullptr);
        std::uniform_int_distribution<int> origin(-500, 500);
        for (int placement = 0; placement < 25; ++placement) {
            int ax = origin(random);
            int ay = origin(random);
            // b mostly placed where the boxes meet, sometimes just beyond them.
            int bx = ax + std::uniform_int_distribution<int>(-b->w - 2, a->w + 2)(random);
            int by = ay + std::uniform_int_distribution<int>(-b->h - 2, a->h + 2)(random);
            int expected = referenceOverlap(a, b, ax, ay, bx, by);
            ASSERT_EQ(masksOverlap(maskA, maskB, ax, ay, bx, by), expected)
                << "round " << round << ": " << a->w << "x" << a->h << " at " << ax << "," << ay << " against "
                << b->w << "x" << b->h << " at " << bx << "," << by;
            ASSERT_EQ(masksOverlap(maskB, maskA, bx, by, ax, ay), expected) << "round " << round << " swapped";
            (expected ? hits : misses)++;
        }
        destroyMask(maskA);
        destroyMask(maskB);
        destroy_bitmap(a);
        destroy_bitmap(b);
    }
    EXPECT_GT(hits, 1000);
    EXPECT_GT(misses, 1000);
}
