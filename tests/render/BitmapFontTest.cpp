#include "headless/ScratchFiles.h"
#include "render/GlScreenTest.h"
#include "render/Renderer.h"

#include <allegro.h>
#include <alleggl.h>

#include <sys/stat.h>

// In the test font each cell draws only its leftmost column, in a colour naming the
// cell, so cellAt tells where a glyph starts and which cell it is.
class TextDrawing : public GlScreenTest {};
class LivesDrawing : public GlScreenTest {};
class MissingFont : public GlScreenTest {};

namespace {

// Text and life symbols at y = 16 occupy the rows from 208 to 223.
const int BandTop = 208;
const int BandBottom = 223;

}

TEST_F(TextDrawing, FrameRateTextPutsItsGlyphsFiveUnitsApart)
{
    renderer->beginFrame();
    renderer->drawText("97FPS", 16.0f, 16.0f, 0);
    EXPECT_EQ(cellAt(16, 215), '9' - 32);
    EXPECT_EQ(cellAt(21, 215), '7' - 32);
    EXPECT_EQ(cellAt(26, 215), 'F' - 32);
    EXPECT_EQ(cellAt(31, 215), 'P' - 32);
    EXPECT_EQ(cellAt(36, 215), 'S' - 32);
    EXPECT_TRUE(isBlack(0, 0, 15, 239));
    EXPECT_TRUE(isBlack(17, BandTop, 20, BandBottom));
    EXPECT_TRUE(isBlack(37, 0, 319, 239));
    renderer->endFrame();
}

TEST_F(TextDrawing, GlyphsFillSixteenRowsAboveThePen)
{
    renderer->beginFrame();
    renderer->drawText("A", 16.0f, 16.0f, 0);
    EXPECT_EQ(cellAt(16, BandTop), 33);
    EXPECT_EQ(cellAt(16, BandBottom), 33);
    EXPECT_TRUE(isBlack(16, 0, 16, BandTop - 1));
    EXPECT_TRUE(isBlack(16, BandBottom + 1, 16, 239));
    renderer->endFrame();
}

TEST_F(TextDrawing, TextAtTheScreenEdgesTouchesThem)
{
    renderer->beginFrame();
    renderer->drawText("A", 0.0f, 0.0f, 0);
    renderer->drawText("B", 100.0f, 224.0f, 0);
    EXPECT_EQ(cellAt(0, 239), 33);
    EXPECT_EQ(cellAt(0, 224), 33);
    EXPECT_TRUE(isBlack(0, 0, 0, 223));
    EXPECT_EQ(cellAt(100, 0), 34);
    EXPECT_EQ(cellAt(100, 15), 34);
    EXPECT_TRUE(isBlack(100, 16, 100, 239));
    renderer->endFrame();
}

TEST_F(TextDrawing, SecondCharacterSetUsesTheLowerHalfAndAdvancesSeven)
{
    renderer->beginFrame();
    renderer->drawText("AB", 16.0f, 16.0f, 1);
    EXPECT_EQ(cellAt(16, 215), 161);
    EXPECT_EQ(cellAt(23, 215), 162);
    EXPECT_TRUE(isBlack(17, BandTop, 22, BandBottom));
    renderer->endFrame();
}

TEST_F(TextDrawing, EmptyTextDrawsNothing)
{
    renderer->beginFrame();
    renderer->drawText("", 16.0f, 16.0f, 0);
    EXPECT_TRUE(isBlack(0, 0, 319, 239));
    renderer->endFrame();
}

TEST_F(TextDrawing, CodesOutsideTheFontAreSkipped)
{
    renderer->beginFrame();
    renderer->drawText("A\n\x01\x80\xff" "B", 16.0f, 16.0f, 1);
    renderer->drawText("\x1f~\x7f\x80", 16.0f, 100.0f, 0);
    EXPECT_EQ(cellAt(16, 215), 161);
    EXPECT_EQ(cellAt(23, 215), 162);
    EXPECT_TRUE(isBlack(24, BandTop, 319, BandBottom));
    // In set 0, '~' is cell 94 and code 127 the life symbol's cell.
    EXPECT_EQ(cellAt(16, 130), 94);
    EXPECT_EQ(cellAt(21, 130), 95);
    EXPECT_TRUE(isBlack(22, 124, 319, 139));
    renderer->endFrame();
}

TEST_F(TextDrawing, TextLeavesTheFrameMatrixAndAnOpaqueWhiteColour)
{
    uint32_t white = solidTexture(8, 8, 255, 255, 255);
    renderer->beginFrame();
    renderer->setColor(0.0f, 0.0f, 1.0f, 0.5f);
    renderer->drawText("A", 200.0f, 200.0f, 0);
    renderer->drawQuad(0.0, 0.0, 8, 8, white);
    Rgb corner = pixelAt(0, 0);
    EXPECT_EQ(corner.red, 255);
    EXPECT_EQ(corner.green, 255);
    EXPECT_EQ(corner.blue, 255);
    EXPECT_TRUE(isBlack(8, 0, 8, 7));
    EXPECT_TRUE(isBlack(0, 8, 7, 8));
    renderer->endFrame();
}

TEST_F(TextDrawing, HalfSizeFontPictureIsMagnifiedTwice)
{
    TempDir dir;
    mkdir((dir.path() + "/bmp").c_str(), 0755);
    writeTestFont(dir.path() + "/bmp/fontes.bmp", 128);
    Renderer small;
    ASSERT_TRUE(buildFontIn(small, dir.path()));
    ASSERT_NE(small.fontListBase, 0u);

    renderer->beginFrame();
    small.drawText("AB", 16.0f, 16.0f, 0);
    EXPECT_EQ(cellAt(16, BandTop), 33);
    EXPECT_EQ(cellAt(17, BandBottom), 33);
    EXPECT_TRUE(isBlack(18, BandTop, 20, BandBottom));
    EXPECT_EQ(cellAt(21, BandTop), 34);
    EXPECT_EQ(cellAt(22, BandBottom), 34);
    renderer->endFrame();
}

TEST_F(LivesDrawing, FiveLivesStartSevenUnitsApartFrom270)
{
    renderer->beginFrame();
    renderer->drawText("", 16.0f, 16.0f, 0);
    renderer->drawLives(5);
    for (int x : {270, 277, 284, 291, 298}) {
        EXPECT_EQ(cellAt(x, BandTop), 127) << "x = " << x;
        EXPECT_EQ(cellAt(x, BandBottom), 127) << "x = " << x;
    }
    EXPECT_TRUE(isBlack(0, 0, 269, 239));
    EXPECT_TRUE(isBlack(271, BandTop, 276, BandBottom));
    EXPECT_TRUE(isBlack(299, 0, 319, 239));
    EXPECT_TRUE(isBlack(270, 0, 319, BandTop - 1));
    EXPECT_TRUE(isBlack(270, BandBottom + 1, 319, 239));
    renderer->endFrame();
}

TEST_F(LivesDrawing, NoLivesOrANegativeCountDrawNothing)
{
    renderer->beginFrame();
    renderer->drawText("", 16.0f, 16.0f, 0);
    renderer->drawLives(0);
    renderer->drawLives(-1);
    EXPECT_TRUE(isBlack(0, 0, 319, 239));
    renderer->endFrame();
}

TEST_F(LivesDrawing, LivesBeyondTheScreenAreClipped)
{
    renderer->beginFrame();
    renderer->drawText("", 16.0f, 16.0f, 0);
    renderer->drawLives(8);
    EXPECT_EQ(cellAt(312, BandTop), 127);
    EXPECT_EQ(cellAt(319, BandTop), 127);
    EXPECT_TRUE(isBlack(0, 0, 269, 239));
    renderer->endFrame();
}

TEST_F(MissingFont, WithoutAFontPictureNothingIsMadeAndNothingDrawn)
{
    TempDir empty;
    Renderer fontless;
    ASSERT_TRUE(buildFontIn(fontless, empty.path()));
    EXPECT_EQ(fontless.fontTexture, 0u);
    EXPECT_EQ(fontless.fontListBase, 0u);

    renderer->beginFrame();
    fontless.drawText("97FPS", 16.0f, 16.0f, 0);
    fontless.drawText("AB", 16.0f, 100.0f, 1);
    fontless.drawLives(5);
    EXPECT_TRUE(isBlack(0, 0, 319, 239));
    renderer->endFrame();
}
