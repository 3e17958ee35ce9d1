#include <allegro.h>
#include <gtest/gtest.h>

#include <string>

namespace {

BITMAP* loadShipped(const std::string& path)
{
    return load_bitmap((std::string(SKIFF_SOURCE_DIR) + "/data/" + path).c_str(), 0);
}

bool opaque(BITMAP* bitmap, int x, int y)
{
    return getpixel(bitmap, x, y) != bitmap_mask_color(bitmap);
}

// Opaque pixels of the rectangle whose column (relative to left) is at or beyond firstColumn.
int opaqueFrom(BITMAP* bitmap, int left, int top, int width, int height, int firstColumn)
{
    int count = 0;
    for (int y = top; y < top + height; ++y)
        for (int x = left + firstColumn; x < left + width; ++x)
            count += opaque(bitmap, x, y);
    return count;
}

}

TEST(ShippedPictures, TheIntroFillsTheScreenWithoutATransparentPixelThatWouldShowAsAHole)
{
    BITMAP* intro = loadShipped("intro/intro.pcx");
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(intro->w, 320);
    EXPECT_EQ(intro->h, 240);
    EXPECT_EQ(opaqueFrom(intro, 0, 0, 320, 240, 0), 320 * 240);
    destroy_bitmap(intro);
}

// Each row: a sheet, its size, and how many sprite frames are stacked in it (0 for the font).
TEST(ShippedPictures, EverySheetHasItsAgreedSizeEveryFrameAShapeAndNoEdgeBlendedTowardMagenta)
{
    struct Sheet { const char* path; int width, height, frames; } sheets[] = {
        {"bmp/fontes.bmp", 256, 256, 0}, {"bmp/player.bmp", 24, 24, 2}, {"bmp/shoot.bmp", 10, 4, 1},
        {"bmp/boom.bmp", 32, 256, 8},    {"bmp/boom2.bmp", 24, 168, 7}, {"bmp/alien.bmp", 16, 16, 1},
        {"bmp/alien2.bmp", 16, 16, 1},
    };
    for (const Sheet& sheet : sheets) {
        BITMAP* bitmap = loadShipped(sheet.path);
        ASSERT_NE(bitmap, nullptr) << sheet.path;
        EXPECT_EQ(bitmap->w, sheet.width) << sheet.path;
        EXPECT_EQ(bitmap->h, sheet.height) << sheet.path;
        for (int frame = 0; frame < sheet.frames; ++frame) {
            int height = bitmap->h / sheet.frames;
            int top = frame * height;
            EXPECT_GT(opaqueFrom(bitmap, 0, top, bitmap->w, height, 0), 0) << sheet.path << " frame " << frame;
            EXPECT_FALSE(opaque(bitmap, 0, top)) << sheet.path << " frame " << frame;
            EXPECT_FALSE(opaque(bitmap, bitmap->w - 1, top + height - 1)) << sheet.path << " frame " << frame;
        }
        int blended = 0;
        for (int y = 0; y < bitmap->h; ++y)
            for (int x = 0; x < bitmap->w; ++x) {
                int c = getpixel(bitmap, x, y);
                blended += opaque(bitmap, x, y) && getr(c) > 180 && getb(c) > 180 && getg(c) < 100;
            }
        EXPECT_EQ(blended, 0) << sheet.path;
        destroy_bitmap(bitmap);
    }
}

// Glyph cells are 16 x 16. Each row: cells from first to last, and the columns their ink keeps to:
// the pen advances 5 pixels in set 0, 7 in set 1 and between life symbols.
TEST(ShippedFont, EveryGlyphHasInkOnlyInTheColumnsThePenAdvancesOverAndSpacesHaveNone)
{
    BITMAP* font = loadShipped("bmp/fontes.bmp");
    ASSERT_NE(font, nullptr);
    struct Glyphs { const char* name; int first, last, width; } rows[] = {
        {"set 0", 1, 94, 5}, {"set 1", 129, 222, 7}, {"life symbol", 127, 127, 7},
    };
    for (const Glyphs& row : rows) {
        for (int cell = row.first; cell <= row.last; ++cell) {
            EXPECT_GT(opaqueFrom(font, cell % 16 * 16, cell / 16 * 16, 16, 16, 0), 0) << row.name << " cell " << cell;
            EXPECT_EQ(opaqueFrom(font, cell % 16 * 16, cell / 16 * 16, 16, 16, row.width), 0)
                << row.name << " cell " << cell;
        }
    }
    EXPECT_EQ(opaqueFrom(font, 0, 0, 16, 16, 0), 0) << "space of set 0";
    EXPECT_EQ(opaqueFrom(font, 0, 128, 16, 16, 0), 0) << "space of set 1";
    destroy_bitmap(font);
}
