#include <gtest/gtest.h>

#include "core/DataPaths.h"
#include "headless/PageFaults.h"
#include "headless/ScratchFiles.h"
#include "headless/WorkingDirectory.h"
#include "render/Renderer.h"

#include <allegro.h>
#include <alleggl.h>


#include <cstdlib>
#include <vector>

namespace {

struct Rgb {
    int red, green, blue;
};

const Rgb Black{0, 0, 0}, Red{255, 0, 0}, Green{0, 255, 0}, Blue{0, 0, 255}, White{255, 255, 255}, Grey{40, 40, 40};

// In the test font cell n draws only its leftmost pixel column, in this colour, so that a
// pixel tells where a glyph starts and which cell it is.
Rgb cell(int n)
{
    return Rgb{n, 200, 100};
}

// Every pixel from (left, top) to (right, bottom) of the screen, inclusive, in one colour.
struct Area {
    int left, top, right, bottom;
    Rgb colour;
};

// One pixel at (x, y).
Area spot(int x, int y, Rgb colour)
{
    return Area{x, y, x, y, colour};
}

void writeTestFont(const TempDir& dir, int size)
{
    BITMAP* picture = makeBitmap(size, size, magenta());
    for (int n = 0, cellSize = size / 16; n < 256; ++n)
        vline(picture, n % 16 * cellSize, n / 16 * cellSize, (n / 16 + 1) * cellSize - 1, makecol32(n, 200, 100));
    saveBitmap(dir, DataPaths::Font, picture);
    destroy_bitmap(picture);
}

Renderer* sharedRenderer = nullptr;

}

// Drawing tests share one renderer with a 320 x 240 window, opened on first use with the test font.
class GlDrawing : public testing::Test {
protected:
    void SetUp() override
    {
        if (!sharedRenderer) {
            TempDir fontDir;
            writeTestFont(fontDir, 256);
            WorkingDirectory inside(fontDir.path());
            sharedRenderer = new Renderer;
            sharedRenderer->setupDisplay();
            glReadBuffer(GL_BACK);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
        }
        ASSERT_NE(sharedRenderer->fontListBase, 0u) << "the test font did not load";
        renderer = sharedRenderer;
        renderer->setColor(1.0f, 1.0f, 1.0f, 1.0f);
    }

    // Whether the back buffer shows the area's colour, each channel within tolerance, all over it.
    static testing::AssertionResult shows(const Area& area, int tolerance = 0)
    {
        int width = area.right - area.left + 1;
        std::vector<unsigned char> rgb(width * (area.bottom - area.top + 1) * 3);
        glReadPixels(area.left, 239 - area.bottom, width, area.bottom - area.top + 1, GL_RGB, GL_UNSIGNED_BYTE,
                     rgb.data());
        for (size_t i = 0; i < rgb.size(); i += 3) {
            if (abs(rgb[i] - area.colour.red) > tolerance || abs(rgb[i + 1] - area.colour.green) > tolerance ||
                abs(rgb[i + 2] - area.colour.blue) > tolerance)
                return testing::AssertionFailure() << "(" << area.left + i / 3 % width << ", "
                                                   << area.bottom - i / 3 / width << ") shows " << int(rgb[i]) << " "
                                                   << int(rgb[i + 1]) << " " << int(rgb[i + 2]);
        }
        return testing::AssertionSuccess();
    }

    uint32_t solidTexture(int width, int height, int red, int green, int blue)
    {
        BITMAP* bitmap = makeBitmap(width, height, makecol32(red, green, blue));
        uint32_t texture = renderer->makeTexture(bitmap);
        destroy_bitmap(bitmap);
        return texture;
    }

    Renderer* renderer;
};

class QuadDrawing : public GlDrawing {};
class TextDrawing : public GlDrawing {};

// Each row: a quad, drawn over another or not, its colour, and what the screen shows after it.
TEST_F(QuadDrawing, AQuadShowsItsPictureUprightOverExactlyItsRectangle)
{
    const int red = makecol32(255, 0, 0);
    BITMAP* picture = makeBitmap(320, 240, makecol32(40, 40, 40));
    putpixel(picture, 0, 0, red);
    putpixel(picture, 319, 0, makecol32(0, 255, 0));
    putpixel(picture, 0, 239, makecol32(0, 0, 255));
    putpixel(picture, 319, 239, makecol32(255, 255, 255));
    uint32_t corners = renderer->makeTexture(picture);
    destroy_bitmap(picture);
    picture = makeBitmap(16, 16, red);
    rectfill(picture, 0, 0, 7, 15, magenta());
    uint32_t leftMasked = renderer->makeTexture(picture);
    destroy_bitmap(picture);
    picture = makeBitmap(2, 1, red);
    putpixel(picture, 1, 0, makecol32(0, 255, 0));
    uint32_t redGreen = renderer->makeTexture(picture);
    renderer->filterTextures = true;
    uint32_t filtered = renderer->makeTexture(picture);
    renderer->filterTextures = false;
    destroy_bitmap(picture);
    uint32_t solidRed = solidTexture(4, 4, 255, 0, 0);
    uint32_t solidBlue = solidTexture(16, 16, 0, 0, 255);
    uint32_t solidWhite = solidTexture(8, 8, 255, 255, 255);

    struct Row { const char* name; uint32_t under, texture; double x, y; int width, height; float tint[4];
                 int tolerance; std::vector<Area> areas; };
    const Row rows[] = {
        {"corners", 0, corners, 0.0, 0.0, 320, 240, {1, 1, 1, 1}, 0,
         {spot(0, 0, Red), spot(319, 0, Green), spot(0, 239, Blue), spot(319, 239, White), {1, 0, 318, 0, Grey},
          {0, 1, 0, 238, Grey}, {1, 1, 318, 238, Grey}}},
        {"rectangle", 0, solidRed, 100.0, 50.0, 20, 10, {1, 1, 1, 1}, 0,
         {{100, 50, 119, 59, Red}, {99, 49, 120, 49, Black}, {99, 60, 120, 60, Black}, {99, 50, 99, 59, Black},
          {120, 50, 120, 59, Black}}},
        {"negative width", 0, solidRed, 100.0, 100.0, -20, 20, {1, 1, 1, 1}, 0, {{0, 0, 319, 239, Black}}},
        {"negative height", 0, solidRed, 100.0, 100.0, 20, -20, {1, 1, 1, 1}, 0, {{0, 0, 319, 239, Black}}},
        {"past the bottom", 0, solidBlue, 100.0, 230.0, 16, 16, {1, 1, 1, 1}, 0,
         {{100, 230, 115, 239, Blue}, {0, 0, 319, 229, Black}}},
        {"magenta shows what lies under", solidBlue, leftMasked, 40.0, 40.0, 16, 16, {1, 1, 1, 1}, 0,
         {{40, 40, 47, 55, Blue}, {48, 40, 55, 55, Red}}},
        // Texel 0 spans 10.5 to 14.5 and texel 1 14.5 to 18.5, without blending.
        {"unfiltered", 0, redGreen, 10.5, 20.0, 8, 8, {1, 1, 1, 1}, 0,
         {{11, 20, 13, 27, Red}, {15, 20, 17, 27, Green}}},
        // Pixel 3 samples 3.5 / 8 across: 5/8 red, 3/8 green; the edges do not wrap round.
        {"filtered", 0, filtered, 0.0, 20.0, 8, 8, {1, 1, 1, 1}, 12,
         {spot(0, 24, Red), spot(3, 24, {159, 96, 0}), spot(7, 24, Green)}},
        {"tinted", 0, solidWhite, 10.0, 10.0, 8, 8, {1, 0, 0, 1}, 0, {{10, 10, 17, 17, Red}}},
        {"faded", 0, solidWhite, 10.0, 10.0, 8, 8, {1, 1, 1, 0.9f}, 2, {{10, 10, 17, 17, {230, 230, 230}}}},
    };
    for (const Row& row : rows) {
        renderer->beginFrame();
        if (row.under)
            renderer->drawQuad(row.x, row.y, row.width, row.height, row.under);
        renderer->setColor(row.tint[0], row.tint[1], row.tint[2], row.tint[3]);
        renderer->drawQuad(row.x, row.y, row.width, row.height, row.texture);
        renderer->setColor(1.0f, 1.0f, 1.0f, 1.0f);
        for (const Area& area : row.areas)
            EXPECT_TRUE(shows(area, row.tolerance)) << row.name;
        renderer->endFrame();
    }
}

TEST_F(QuadDrawing, FramesThatChangeTextureAtEveryQuadReuseTheirMemory)
{
    // About 10 MB of the software renderer's bookkeeping a frame. Handed back to the kernel after
    // every frame and taken again, it would fault in some 2,500 pages a frame.
    const int Changes = 300;
    const int WarmUpFrames = 3;
    const int MeasuredFrames = 5;
    uint32_t textures[2] = {solidTexture(16, 16, 255, 0, 0), solidTexture(16, 16, 0, 0, 255)};
    long faultsBefore = 0;
    for (int frame = 0; frame < WarmUpFrames + MeasuredFrames; ++frame) {
        if (frame == WarmUpFrames)
            faultsBefore = minorPageFaults();
        renderer->beginFrame();
        for (int quad = 0; quad < Changes; ++quad)
            renderer->drawQuad(quad % 20 * 16, quad / 20 % 15 * 16, 16, 16, textures[quad % 2]);
        renderer->endFrame();
    }
    EXPECT_LT((minorPageFaults() - faultsBefore) / MeasuredFrames, 100);
}

// Each row: a text, where and in which set it is drawn, the lives drawn after it, and what the
// screen shows. Text and life symbols at y = 16 stand on the rows from 208 to 223.
TEST_F(TextDrawing, GlyphsAndLifeSymbolsStandSixteenHighAboveThePenAtTheirSetsAdvance)
{
    struct Row { const char* name; const char* text; float x, y; int set, lives; std::vector<Area> areas; };
    const Row rows[] = {
        {"set 0 advances 5", "97FPS", 16, 16, 0, 0,
         {{16, 208, 16, 223, cell('9' - 32)}, spot(21, 215, cell('7' - 32)), spot(26, 215, cell('F' - 32)),
          spot(31, 215, cell('P' - 32)), spot(36, 215, cell('S' - 32)), {0, 0, 15, 239, Black},
          {17, 208, 20, 223, Black}, {37, 0, 319, 239, Black}, {16, 0, 16, 207, Black}, {16, 224, 16, 239, Black}}},
        {"set 1 uses the lower half and advances 7", "AB", 16, 16, 1, 0,
         {{16, 208, 16, 223, cell(161)}, spot(23, 215, cell(162)), {17, 208, 22, 223, Black}}},
        {"codes outside the font skipped in set 1", "A\n\x01\x80\xff" "B", 16, 16, 1, 0,
         {spot(16, 215, cell(161)), spot(23, 215, cell(162)), {24, 208, 319, 223, Black}}},
        // In set 0, '~' is cell 94 and code 127 the life symbol's cell.
        {"codes outside the font skipped in set 0", "\x1f~\x7f\x80", 16, 100, 0, 0,
         {spot(16, 130, cell(94)), spot(21, 130, cell(95)), {22, 124, 319, 139, Black}}},
        {"five lives 7 apart from 270", "", 16, 16, 0, 5,
         {{270, 208, 270, 223, cell(127)}, spot(277, 215, cell(127)), spot(284, 215, cell(127)),
          spot(291, 215, cell(127)), {298, 208, 298, 223, cell(127)}, {0, 0, 269, 239, Black},
          {271, 208, 276, 223, Black}, {299, 0, 319, 239, Black}, {270, 0, 319, 207, Black},
          {270, 224, 319, 239, Black}}},
        {"eight lives, clipped", "", 16, 16, 0, 8, {spot(312, 215, cell(127)), spot(319, 215, cell(127))}},
        {"no text, no lives", "", 16, 16, 0, 0, {{0, 0, 319, 239, Black}}},
    };
    for (const Row& row : rows) {
        renderer->beginFrame();
        renderer->drawText(row.text, row.x, row.y, (signed char)row.set);
        renderer->drawLives(row.lives);
        for (const Area& area : row.areas)
            EXPECT_TRUE(shows(area)) << row.name;
        renderer->endFrame();
    }
}

TEST_F(TextDrawing, TextLeavesTheFrameMatrixAndAnOpaqueWhiteColour)
{
    renderer->beginFrame();
    renderer->setColor(0.0f, 0.0f, 1.0f, 0.5f);
    renderer->drawText("A", 200.0f, 200.0f, 0);
    renderer->drawQuad(0.0, 0.0, 8, 8, solidTexture(8, 8, 255, 255, 255));
    EXPECT_TRUE(shows({0, 0, 7, 7, White}));
    EXPECT_TRUE(shows({8, 0, 8, 8, Black}));
    EXPECT_TRUE(shows({0, 8, 7, 8, Black}));
    renderer->endFrame();
}

TEST_F(TextDrawing, AHalfSizeFontIsMagnifiedTwiceAndWithoutAFontNothingIsDrawn)
{
    TempDir halfSize;
    writeTestFont(halfSize, 128);
    TempDir empty;
    Renderer small;
    Renderer fontless;
    {
        WorkingDirectory inside(halfSize.path());
        small.buildFont();
    }
    {
        WorkingDirectory inside(empty.path());
        fontless.buildFont();
    }

    renderer->beginFrame();
    fontless.drawText("97FPS", 16.0f, 100.0f, 0);
    fontless.drawText("AB", 16.0f, 100.0f, 1);
    fontless.drawLives(5);
    EXPECT_TRUE(shows({0, 0, 319, 239, Black}));
    small.drawText("AB", 16.0f, 16.0f, 0);
    EXPECT_TRUE(shows({16, 208, 17, 223, cell(33)}));
    EXPECT_TRUE(shows({18, 208, 20, 223, Black}));
    EXPECT_TRUE(shows({21, 208, 22, 223, cell(34)}));
    renderer->endFrame();
}
