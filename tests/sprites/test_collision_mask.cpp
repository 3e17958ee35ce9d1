#include <allegro.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "headless/ScratchFiles.h"
#include "sprites/CollisionMask.h"

namespace {

// A width x height picture: every pixel opaque when solid, else only the listed (x, y) ones.
struct Picture {
    int width, height;
    bool solid;
    std::vector<std::pair<int, int>> opaque;
};

CollisionMask* maskOf(const Picture& picture)
{
    BITMAP* bitmap = makeBitmap(picture.width, picture.height, picture.solid ? opaqueWhite() : magenta());
    for (const std::pair<int, int>& p : picture.opaque)
        putpixel(bitmap, p.first, p.second, opaqueWhite());
    CollisionMask* mask = createMask(bitmap);
    destroy_bitmap(bitmap);
    return mask;
}

}

// Each row: a at (ax, ay), b at (bx, by), and whether they overlap, asked both ways round.
TEST(MaskOverlap, MasksOverlapExactlyWhereBothHaveAPixelOnTheSameScreenPixel)
{
    const Picture full8{8, 8, true, {}};
    struct Row { const char* name; Picture a; int ax, ay; Picture b; int bx, by; int overlap; };
    const Row rows[] = {
        {"corners of full squares", full8, 0, 0, full8, 7, 7, 1},
        {"touching sideways", full8, 0, 0, full8, 8, 0, 0},
        {"touching vertically", full8, 0, 0, full8, 0, 8, 0},
        {"single pixels met", {8, 8, false, {{7, 7}}}, 0, 0, {8, 8, false, {{0, 0}}}, 7, 7, 1},
        {"single pixels a column apart", {8, 8, false, {{7, 7}}}, 0, 0, {8, 8, false, {{0, 0}}}, 6, 7, 0},
        // 40 wide against 10 wide at x 35: a's columns 35..39, in its second word, meet b's 0..4.
        {"second word", {40, 2, false, {{39, 1}}}, 0, 0, {10, 2, false, {{4, 1}}}, 35, 0, 1},
        // 70 wide at x 0 against 40 wide at x 37: b's column c is a's c + 37, a's second word shifted by 5.
        {"shift on the wider mask", {70, 1, false, {{69, 0}}}, 0, 0, {40, 1, false, {{32, 0}}}, 37, 0, 1},
        {"shifted, a column short", {70, 1, false, {{69, 0}}}, 0, 0, {40, 1, false, {{32, 0}}}, 36, 0, 0},
    };
    for (const Row& row : rows) {
        CollisionMask* a = maskOf(row.a);
        CollisionMask* b = maskOf(row.b);
        EXPECT_EQ(masksOverlap(a, b, row.ax, row.ay, row.bx, row.by), row.overlap) << row.name;
        EXPECT_EQ(masksOverlap(b, a, row.bx, row.by, row.ax, row.ay), row.overlap) << row.name << ", swapped";
        destroyMask(a);
        destroyMask(b);
    }
}

TEST(MaskOverlap, NoBitmapGivesNoMaskAndAnEmptyBitmapAMaskThatNeverOverlaps)
{
    EXPECT_EQ(createMask(nullptr), nullptr);
    destroyMask(nullptr);
    CollisionMask* full = maskOf(Picture{20, 20, true, {}});
    const int sizes[][2] = {{0, 5}, {5, 0}};
    for (const auto& size : sizes) {
        BITMAP* bitmap = create_bitmap_ex(32, size[0], size[1]);
        CollisionMask* empty = bitmap ? createMask(bitmap) : nullptr;
        for (int offset = -3; empty && offset < 23; ++offset) {
            EXPECT_EQ(masksOverlap(empty, full, offset, 2, 0, 0), 0) << size[0] << "x" << size[1];
            EXPECT_EQ(masksOverlap(full, empty, 0, 0, 2, offset), 0) << size[0] << "x" << size[1];
        }
        destroyMask(empty);
        if (bitmap)
            destroy_bitmap(bitmap);
    }
    destroyMask(full);
}
