#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "headless/PixelOverlap.h"
#include "headless/ScratchFiles.h"
#include "sprites/CollisionMask.h"

namespace {

BITMAP* randomBitmap(std::mt19937& random, int minWidth = 1, int maxWidth = 100, int maxHeight = 100)
{
    int width = std::uniform_int_distribution<int>(minWidth, maxWidth)(random);
    BITMAP* bitmap = makeBitmap(width, std::uniform_int_distribution<int>(1, maxHeight)(random), magenta());
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
            int expected = pixelsOverlap(a, b, ax, ay, bx, by);
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

TEST(MaskRandom, WideMasksAgreeWithAPixelByPixelComparisonAtEveryShift)
{
    std::mt19937 random(104729u);
    std::bernoulli_distribution coin(0.5);
    int white = makecol(255, 255, 255);
    int hits = 0;
    int misses = 0;
    for (int shift = -63; shift <= 63; ++shift) {
        for (int round = 0; round < 6; ++round) {
            // 33 to 130 pixels: two to five words a row, the last one full or not.
            BITMAP* a = randomBitmap(random, 33, 130, 12);
            BITMAP* b = makeBitmap(std::uniform_int_distribution<int>(33, 130)(random),
                                   std::uniform_int_distribution<int>(1, 12)(random), magenta());
            // Whole words on top of the shift, so that b's words meet a's from the first to the last.
            int ax = 40;
            int ay = 7;
            int bx = ax + shift + 64 * std::uniform_int_distribution<int>(-1, 1)(random);
            int by = ay + std::uniform_int_distribution<int>(-b->h + 1, a->h - 1)(random);
            // b is opaque exactly where a is clear under it, at random beyond a; every other round one
            // pixel is shared.
            for (int y = 0; y < b->h; ++y) {
                for (int x = 0; x < b->w; ++x) {
                    if (coin(random))
                        putpixel(b, x, y, white);
                }
            }
            complementUnder(a, b, bx - ax, by - ay);
            int left = std::max(ax, bx);
            int right = std::min(ax + a->w, bx + b->w);
            if (round % 2 == 1 && left < right) {
                int x = std::uniform_int_distribution<int>(left, right - 1)(random);
                int bottom = std::min(ay + a->h, by + b->h);
                int y = std::uniform_int_distribution<int>(std::max(ay, by), bottom - 1)(random);
                putpixel(a, x - ax, y - ay, white);
                putpixel(b, x - bx, y - by, white);
            }
            CollisionMask* maskA = createMask(a);
            CollisionMask* maskB = createMask(b);
            ASSERT_NE(maskA, nullptr);
            ASSERT_NE(maskB, nullptr);
            int expected = pixelsOverlap(a, b, ax, ay, bx, by);
            ASSERT_EQ(masksOverlap(maskA, maskB, ax, ay, bx, by), expected)
                << a->w << "x" << a->h << " at " << ax << "," << ay << " against " << b->w << "x" << b->h << " at "
                << bx << "," << by;
            ASSERT_EQ(masksOverlap(maskB, maskA, bx, by, ax, ay), expected) << "swapped, shift " << shift;
            (expected ? hits : misses)++;
            destroyMask(maskA);
            destroyMask(maskB);
            destroy_bitmap(a);
            destroy_bitmap(b);
        }
    }
    EXPECT_GT(hits, 150);
    EXPECT_GT(misses, 300);
}
