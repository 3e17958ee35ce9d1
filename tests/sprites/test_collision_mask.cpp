#include <allegro.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "headless/ScratchFiles.h"
#include "sprites/CollisionMask.h"

namespace {

// A mask of a magenta bitmap with the listed (x, y) pixels opaque, or all of them.
class TestMask {
public:
    TestMask(int width, int height, std::initializer_list<std::pair<int, int>> pixels) : mask(nullptr)
    {
        BITMAP* bitmap = makeBitmap(width, height, magenta());
        for (const std::pair<int, int>& p : pixels)
            putpixel(bitmap, p.first, p.second, makecol(255, 255, 255));
        mask = createMask(bitmap);
        destroy_bitmap(bitmap);
    }
    TestMask(int width, int height) : mask(nullptr)
    {
        BITMAP* bitmap = makeBitmap(width, height, makecol(10, 200, 30));
        mask = createMask(bitmap);
        destroy_bitmap(bitmap);
    }
    ~TestMask() { destroyMask(mask); }
    TestMask(const TestMask&) = delete;
    TestMask& operator=(const TestMask&) = delete;

    const CollisionMask& operator*() const { return *mask; }
    const CollisionMask* operator->() const { return mask; }
    const CollisionMask* get() const { return mask; }

private:
    CollisionMask* mask;
};

int overlap(const TestMask& a, const TestMask& b, int ax, int ay, int bx, int by)
{
    return masksOverlap(a.get(), b.get(), ax, ay, bx, by);
}

}

TEST(MaskLayout, ThirtyOneWideRowsUseOneWordWithTheLowestBitClear)
{
    TestMask mask(31, 2);
    EXPECT_EQ(mask->lastWord, 0);
    EXPECT_EQ(mask->rows[0][0], 0xfffffffeu);
    EXPECT_EQ(mask->rows[1][0], 0xfffffffeu);
}

TEST(MaskLayout, ThirtyTwoWideRowsFillExactlyOneWord)
{
    TestMask mask(32, 2);
    EXPECT_EQ(mask->lastWord, 0);
    EXPECT_EQ(mask->rows[0][0], 0xffffffffu);
    EXPECT_EQ(mask->rows[1] - mask->rows[0], 1);
}

TEST(MaskLayout, ThirtyThreeWideRowsSetOnlyTheTopBitOfTheSecondWord)
{
    TestMask mask(33, 3);
    EXPECT_EQ(mask->lastWord, 1);
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(mask->rows[y][0], 0xffffffffu);
        EXPECT_EQ(mask->rows[y][1], 0x80000000u);
    }
}

TEST(MaskLayout, FortyWideRowsSetTheTopEightBitsOfTheSecondWord)
{
    TestMask mask(40, 3);
    EXPECT_EQ(mask->lastWord, 1);
    EXPECT_EQ(mask->rows[2][1], 0xff000000u);
}

TEST(MaskLayout, RowsFollowEachOtherInsideOneBlockOfBits)
{
    TestMask mask(70, 4);
    EXPECT_EQ(mask->lastWord, 2);
    EXPECT_EQ(mask->rows[0], mask->bits);
    EXPECT_EQ(mask->rows[3], mask->bits + 9);
    EXPECT_EQ(mask->height, 4);
    EXPECT_EQ(mask->width, 70);
}

TEST(MaskLayout, PixelColumnsMapMostSignificantBitFirst)
{
    TestMask mask(40, 3, {{0, 0}, {31, 1}, {32, 2}, {39, 2}});
    EXPECT_EQ(mask->rows[0][0], 0x80000000u);
    EXPECT_EQ(mask->rows[0][1], 0u);
    EXPECT_EQ(mask->rows[1][0], 0x00000001u);
    EXPECT_EQ(mask->rows[1][1], 0u);
    EXPECT_EQ(mask->rows[2][0], 0u);
    EXPECT_EQ(mask->rows[2][1], 0x81000000u);
}

TEST(MaskLayout, NullBitmapGivesNoMaskAndDestroyingNullDoesNothing)
{
    EXPECT_EQ(createMask(nullptr), nullptr);
    destroyMask(nullptr);
}

TEST(MaskOverlap, AllTransparentMaskNeverOverlaps)
{
    TestMask empty(20, 20, {});
    TestMask full(20, 20);
    for (int y = 0; y < 20; ++y)
        EXPECT_EQ(empty->rows[y][0], 0u);
    for (int dx = -19; dx < 20; dx += 3) {
        for (int dy = -19; dy < 20; dy += 3) {
            EXPECT_EQ(overlap(empty, full, 0, 0, dx, dy), 0) << dx << "," << dy;
            EXPECT_EQ(overlap(full, empty, dx, dy, 0, 0), 0) << dx << "," << dy;
        }
    }
}

TEST(MaskOverlap, EmptyBitmapsGiveMasksThatNeverOverlap)
{
    TestMask full(20, 20);
    BITMAP* narrow = create_bitmap_ex(32, 0, 5);
    BITMAP* flat = create_bitmap_ex(32, 5, 0);
    CollisionMask* narrowMask = createMask(narrow);
    CollisionMask* flatMask = createMask(flat);
    for (int offset = -3; offset < 23; ++offset) {
        if (narrowMask) {
            EXPECT_EQ(masksOverlap(narrowMask, full.get(), offset, 2, 0, 0), 0);
            EXPECT_EQ(masksOverlap(full.get(), narrowMask, 0, 0, offset, 2), 0);
        }
        if (flatMask) {
            EXPECT_EQ(masksOverlap(flatMask, full.get(), 2, offset, 0, 0), 0);
            EXPECT_EQ(masksOverlap(full.get(), flatMask, 0, 0, 2, offset), 0);
        }
    }
    destroyMask(narrowMask);
    destroyMask(flatMask);
    if (narrow)
        destroy_bitmap(narrow);
    if (flat)
        destroy_bitmap(flat);
}

TEST(MaskOverlap, FullEightByEightMasksOverlapInTheirCornerPixel)
{
    TestMask a(8, 8);
    TestMask b(8, 8);
    EXPECT_EQ(overlap(a, b, 0, 0, 7, 7), 1);
    EXPECT_EQ(overlap(a, b, 0, 0, -7, -7), 1);
    EXPECT_EQ(overlap(a, b, 0, 0, 7, -7), 1);
    EXPECT_EQ(overlap(a, b, 0, 0, -7, 7), 1);
}

TEST(MaskOverlap, MasksTouchingEdgeToEdgeDoNotOverlap)
{
    TestMask a(8, 8);
    TestMask b(8, 8);
    EXPECT_EQ(overlap(a, b, 0, 0, 8, 0), 0);
    EXPECT_EQ(overlap(a, b, 0, 0, -8, 0), 0);
    EXPECT_EQ(overlap(a, b, 0, 0, 0, 8), 0);
    EXPECT_EQ(overlap(a, b, 0, 0, 0, -8), 0);
    EXPECT_EQ(overlap(a, b, 0, 0, 8, 8), 0);
}

TEST(MaskOverlap, SetEdgeColumnsOfAdjacentMasksDoNotOverlap)
{
    TestMask a(10, 4, {{9, 0}, {9, 1}, {9, 2}, {9, 3}});
    TestMask b(10, 4, {{0, 0}, {0, 1}, {0, 2}, {0, 3}});
    EXPECT_EQ(overlap(a, b, 100, 50, 110, 50), 0);
    EXPECT_EQ(overlap(a, b, 100, 50, 109, 50), 1);
}

TEST(MaskOverlap, SinglePixelsMeetOnlyAtTheSameScreenPixel)
{
    TestMask a(8, 8, {{7, 7}});
    TestMask b(8, 8, {{0, 0}});
    EXPECT_EQ(overlap(a, b, 0, 0, 7, 7), 1);
    EXPECT_EQ(overlap(a, b, 0, 0, 6, 7), 0);
    EXPECT_EQ(overlap(a, b, 0, 0, 7, 6), 0);
}

// a is 40 wide at x 0, b 10 wide at x 35: a's columns 35..39 meet b's 0..4.
TEST(MaskOverlap, FortyWideAgainstTenWideComparesTheSecondWordOfTheWiderMask)
{
    TestMask a39(40, 2, {{39, 1}});
    TestMask a35(40, 2, {{35, 0}});
    TestMask a34(40, 2, {{34, 0}, {34, 1}});
    TestMask b4(10, 2, {{4, 1}});
    TestMask b0(10, 2, {{0, 0}});
    TestMask bRight(10, 2, {{5, 0}, {5, 1}, {9, 0}, {9, 1}});
    EXPECT_EQ(overlap(a39, b4, 0, 0, 35, 0), 1);
    EXPECT_EQ(overlap(a35, b0, 0, 0, 35, 0), 1);
    EXPECT_EQ(overlap(a34, b0, 0, 0, 35, 0), 0);
    EXPECT_EQ(overlap(a39, bRight, 0, 0, 35, 0), 0);
    EXPECT_EQ(overlap(a35, b4, 0, 0, 35, 0), 0);
}

// a and b 64 wide, a at x 5, b at x 0: screen column s is a's s - 5 and b's s.
TEST(MaskOverlap, SixtyFourWideMasksShiftedByFiveMeetInEveryPass)
{
    TestMask b(64, 1);
    const int aColumns[] = {0, 26, 27, 31, 32, 58};
    for (int column : aColumns) {
        TestMask a(64, 1, {{column, 0}});
        EXPECT_EQ(overlap(a, b, 5, 0, 0, 0), 1) << "a column " << column;
    }
    TestMask aBeyond(64, 1, {{59, 0}, {60, 0}, {61, 0}, {62, 0}, {63, 0}});
    EXPECT_EQ(overlap(aBeyond, b, 5, 0, 0, 0), 0);
}

TEST(MaskOverlap, SixtyFourWideMasksShiftedByFiveLineUpTheRightColumns)
{
    // Pairs that share a screen column, one per pass, then pairs one column apart.
    const int meet[][2] = {{0, 5}, {26, 31}, {27, 32}, {31, 36}, {32, 37}, {58, 63}};
    for (const auto& pair : meet) {
        TestMask a(64, 1, {{pair[0], 0}});
        TestMask b(64, 1, {{pair[1], 0}});
        EXPECT_EQ(overlap(a, b, 5, 0, 0, 0), 1) << pair[0] << " against " << pair[1];
        EXPECT_EQ(overlap(b, a, 0, 0, 5, 0), 1) << pair[0] << " against " << pair[1];
        TestMask bNext(64, 1, {{pair[1] - 1, 0}});
        EXPECT_EQ(overlap(a, bNext, 5, 0, 0, 0), 0) << pair[0] << " against " << pair[1] - 1;
        if (pair[1] < 63) {
            TestMask bAfter(64, 1, {{pair[1] + 1, 0}});
            EXPECT_EQ(overlap(a, bAfter, 5, 0, 0, 0), 0) << pair[0] << " against " << pair[1] + 1;
        }
    }
}

TEST(MaskOverlap, ShiftOnTheFirstMaskLinesUpLikeShiftOnTheSecond)
{
    // a at x 0 and b at x 37: b's column c is a's c + 37 (word 1, shift 5 on a).
    TestMask a(70, 1, {{69, 0}});
    TestMask b(40, 1, {{32, 0}});
    EXPECT_EQ(overlap(a, b, 0, 0, 37, 0), 1);
    EXPECT_EQ(overlap(b, a, 37, 0, 0, 0), 1);
    EXPECT_EQ(overlap(a, b, 0, 0, 36, 0), 0);
    EXPECT_EQ(overlap(a, b, 0, 0, 38, 0), 0);
    TestMask aLeft(70, 1, {{37, 0}});
    TestMask bLeft(40, 1, {{0, 0}});
    EXPECT_EQ(overlap(aLeft, bLeft, 0, 0, 37, 0), 1);
    EXPECT_EQ(overlap(bLeft, aLeft, 37, 0, 0, 0), 1);
}

TEST(MaskOverlap, RowOffsetsLineUpTheRightRows)
{
    TestMask a(5, 10, {{2, 9}});
    TestMask b(5, 10, {{2, 3}});
    EXPECT_EQ(overlap(a, b, 0, 0, 0, 6), 1);
    EXPECT_EQ(overlap(a, b, 0, 0, 0, 5), 0);
    EXPECT_EQ(overlap(a, b, 0, 0, 0, 7), 0);
    EXPECT_EQ(overlap(b, a, 0, 6, 0, 0), 1);
    EXPECT_EQ(overlap(b, a, 0, -6, 0, -12), 1);
}

TEST(MaskOverlap, ArgumentOrderDoesNotChangeTheResult)
{
    TestMask a(45, 7, {{44, 6}, {3, 0}});
    TestMask b(33, 12, {{0, 0}, {32, 11}});
    for (int dx = -50; dx <= 50; ++dx) {
        for (int dy = -14; dy <= 14; ++dy)
            ASSERT_EQ(overlap(a, b, 0, 0, dx, dy), overlap(b, a, dx, dy, 0, 0)) << dx << "," << dy;
    }
}
