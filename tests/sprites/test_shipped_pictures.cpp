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
            if (opaque(bitmap, x, y))
                ++count;
    return count;
}

struct Shipped {
    const char* path;
    int width;
    int height;
    int frames;
};

const Shipped sprites[] = {
    { "bmp/player.bmp", 24, 24, 2 },
    { "bmp/shoot.bmp", 10, 4, 1 },
    { "bmp/boom.bmp", 32, 256, 8 },
    { "bmp/boom2.bmp", 24, 168, 7 },
    { "bmp/alien.bmp", 16, 16, 1 },
    { "bmp/alien2.bmp", 16, 16, 1 },
};

}

TEST(ShippedPictures, EveryPictureLoadsWithItsAgreedSize)
{
    const Shipped all[] = {
        { "intro/intro.pcx", 320, 240, 1 },
        { "bmp/fontes.bmp", 256, 256, 1 },
        sprites[0], sprites[1], sprites[2], sprites[3], sprites[4], sprites[5],
    };
    for (const Shipped& picture : all) {
        BITMAP* bitmap = loadShipped(picture.path);
        ASSERT_NE(bitmap, nullptr) << picture.path;
        EXPECT_EQ(bitmap->w, picture.width) << picture.path;
        EXPECT_EQ(bitmap->h, picture.height) << picture.path;
        destroy_bitmap(bitmap);
    }
}

TEST(ShippedPictures, IntroHasNoTransparentPixelThatWouldShowAsAHole)
{
    BITMAP* intro = loadShipped("intro/intro.pcx");
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(opaqueFrom(intro, 0, 0, 320, 240, 0), 320 * 240);
    destroy_bitmap(intro);
}

TEST(ShippedPictures, EverySpriteFrameHasAShapeWithTransparentCorners)
{
    for (const Shipped& sprite : sprites) {
        BITMAP* strip = loadShipped(sprite.path);
        ASSERT_NE(strip, nullptr) << sprite.path;
        int frameHeight = strip->h / sprite.frames;
        for (int frame = 0; frame < sprite.frames; ++frame) {
            int top = frame * frameHeight;
            EXPECT_GT(opaqueFrom(strip, 0, top, strip->w, frameHeight, 0), 0) << sprite.path << " frame " << frame;
            EXPECT_FALSE(opaque(strip, 0, top)) << sprite.path << " frame " << frame;
            EXPECT_FALSE(opaque(strip, strip->w - 1, top + frameHeight - 1)) << sprite.path << " frame " << frame;
        }
        destroy_bitmap(strip);
    }
}

TEST(ShippedPictures, SpriteEdgesAreHardWithoutPixelsBlendedTowardMagenta)
{
    const char* sheets[] = { "bmp/fontes.bmp", "bmp/player.bmp", "bmp/shoot.bmp", "bmp/boom.bmp",
        "bmp/boom2.bmp", "bmp/alien.bmp", "bmp/alien2.bmp" };
    for (const char* path : sheets) {
        BITMAP* bitmap = loadShipped(path);
        ASSERT_NE(bitmap, nullptr) << path;
        int blended = 0;
        for (int y = 0; y < bitmap->h; ++y)
            for (int x = 0; x < bitmap->w; ++x) {
                int c = getpixel(bitmap, x, y);
                if (c != bitmap_mask_color(bitmap) && getr(c) > 180 && getb(c) > 180 && getg(c) < 100)
                    ++blended;
            }
        EXPECT_EQ(blended, 0) << path;
        destroy_bitmap(bitmap);
    }
}

// Glyph cells are 16 x 16; the pen advances 5 (set 0) or 7 (set 1) pixels.
TEST(ShippedFont, EveryGlyphOfSetZeroHasInkOnlyInTheLeftFiveColumns)
{
    BITMAP* font = loadShipped("bmp/fontes.bmp");
    ASSERT_NE(font, nullptr);
    for (int code = 33; code <= 126; ++code) {
        int cell = code - 32;
        int left = (cell % 16) * 16;
        int top = (cell / 16) * 16;
        EXPECT_GT(opaqueFrom(font, left, top, 16, 16, 0), 0) << "character " << code;
        EXPECT_EQ(opaqueFrom(font, left, top, 16, 16, 5), 0) << "character " << code;
    }
    EXPECT_EQ(opaqueFrom(font, 0, 0, 16, 16, 0), 0) << "space";
    destroy_bitmap(font);
}

TEST(ShippedFont, EveryGlyphOfSetOneHasInkOnlyInTheLeftSevenColumns)
{
    BITMAP* font = loadShipped("bmp/fontes.bmp");
    ASSERT_NE(font, nullptr);
    for (int code = 33; code <= 126; ++code) {
        int cell = code + 96;
        int left = (cell % 16) * 16;
        int top = (cell / 16) * 16;
        EXPECT_GT(opaqueFrom(font, left, top, 16, 16, 0), 0) << "character " << code;
        EXPECT_EQ(opaqueFrom(font, left, top, 16, 16, 7), 0) << "character " << code;
    }
    EXPECT_EQ(opaqueFrom(font, 0, 128, 16, 16, 0), 0) << "space";
    destroy_bitmap(font);
}

TEST(ShippedFont, LetterAIsInCell33AndCell161)
{
    BITMAP* font = loadShipped("bmp/fontes.bmp");
    ASSERT_NE(font, nullptr);
    // Cell 33: column 1, row 2. Cell 161: column 1, row 10.
    EXPECT_GT(opaqueFrom(font, 16, 32, 16, 16, 0), 0);
    EXPECT_EQ(opaqueFrom(font, 16, 32, 16, 16, 5), 0);
    EXPECT_GT(opaqueFrom(font, 16, 160, 16, 16, 0), 0);
    EXPECT_EQ(opaqueFrom(font, 16, 160, 16, 16, 7), 0);
    destroy_bitmap(font);
}

TEST(ShippedFont, LifeSymbolInCell127FitsTheSevenPixelSpacing)
{
    BITMAP* font = loadShipped("bmp/fontes.bmp");
    ASSERT_NE(font, nullptr);
    // Cell 127: column 15, row 7.
    EXPECT_GT(opaqueFrom(font, 240, 112, 16, 16, 0), 0);
    EXPECT_EQ(opaqueFrom(font, 240, 112, 16, 16, 7), 0);
    destroy_bitmap(font);
}
