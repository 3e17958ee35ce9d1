#include <allegro.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "headless/RenderLog.h"
#include "headless/ScratchFiles.h"
#include "level/Level.h"
#include "level/LevelTestData.h"
#include "level/Tileset.h"
#include "render/Renderer.h"

namespace {

class Scrolling : public LevelTest {
protected:
    void SetUp() override
    {
        LevelTest::SetUp();
        datafile.addBitmap(makeBitmap(32, 32, makecol(255, 0, 0)));
    }

    // A level of the given blocks (all of picture 0, tile 0), the last one main.
    void load(const std::string& blocks) { ASSERT_EQ(read("LEVELDEF scrolling\n" + blocks), 0); }
};

// The ship's y for which the vertical move is 0: y - scrollY - 120 + 16 = 0.
int stillShip(const Level& level)
{
    return static_cast<int>(level.mainTileset->scrollY) + 104;
}

}

TEST_F(Scrolling, SixHundredFortyWideMainTilesetStopsAtItsLastWholeStep)
{
    // 640 - 320.5 = 319.5 is the bound; 1597 steps of 0.2 reach 319.4, a 1598th would reach 319.6.
    load(emptyBlock(0, 32, 20, 8));
    Tileset* main = level.mainTileset;
    int steps = 0;
    while (main->scrollByX(0.2) && steps < 5000)
        ++steps;
    EXPECT_EQ(steps, 1597);
    EXPECT_LE(main->scrollX, 319.5);
    EXPECT_GT(main->scrollX, 319.3);
    double stopped = main->scrollX;
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(main->scrollByX(0.2));
    EXPECT_EQ(main->scrollX, stopped);
}

TEST_F(Scrolling, ScreenWideMainTilesetNeverScrollsSideways)
{
    load(emptyBlock(0, 32, 20, 8) + emptyBlock(0, 32, 10, 8));
    for (int i = 0; i < 50; ++i)
        level.update(0, stillShip(level));
    EXPECT_EQ(level.mainTileset->scrollX, 0.0);
    EXPECT_EQ(level.tilesets[0]->scrollX, 0.0);
    EXPECT_FALSE(level.mainTileset->scrollByX(0.2));
}

TEST_F(Scrolling, MoveBeyondTheLeftEdgeIsRefusedWhole)
{
    load(emptyBlock(0, 32, 20, 8));
    Tileset* main = level.mainTileset;
    EXPECT_TRUE(main->scrollByX(0.2));
    EXPECT_FALSE(main->scrollByX(-0.3));
    EXPECT_EQ(main->scrollX, 0.2);
}

TEST_F(Scrolling, ShipFollowingMovesTheViewInOneStepOrNotAtAll)
{
    // Main 640 x 480: scrollY may go from 0 to 480 - 240.5 = 239.5.
    load(emptyBlock(0, 32, 20, 15));
    Tileset* main = level.mainTileset;
    level.update(0, 110);  // 110 - 0 - 120 + 16 = 6
    EXPECT_EQ(main->scrollY, 6.0);
    level.update(0, 100);  // 100 - 6 - 120 + 16 = -10 would give -4
    EXPECT_EQ(main->scrollY, 6.0);
    level.update(0, 400);  // 400 - 6 - 104 = 290 would give 296
    EXPECT_EQ(main->scrollY, 6.0);
    level.update(0, 343);  // 343 - 6 - 104 = 233 gives 239
    EXPECT_EQ(main->scrollY, 239.0);
    level.update(0, 345);  // 345 - 239 - 104 = 2 would give 241
    EXPECT_EQ(main->scrollY, 239.0);
    level.update(0, 104);  // 104 - 239 - 104 = -239 gives 0
    EXPECT_EQ(main->scrollY, 0.0);
}

TEST_F(Scrolling, ScreenHighMainTilesetNeverScrollsUpOrDown)
{
    // 8 rows of 30 pixels: exactly 240 high.
    load(emptyBlock(0, 32, 20, 20) + emptyBlock(0, 30, 30, 8));
    level.update(0, 110);
    level.update(0, 90);
    EXPECT_EQ(level.mainTileset->scrollY, 0.0);
    EXPECT_EQ(level.tilesets[0]->scrollY, 0.0);
}

TEST_F(Scrolling, HorizontalAndVerticalMovesAreDecidedSeparately)
{
    load(emptyBlock(0, 32, 20, 15));
    level.update(0, 100);  // the vertical move is refused, the horizontal one made
    EXPECT_DOUBLE_EQ(level.mainTileset->scrollX, 0.2);
    EXPECT_EQ(level.mainTileset->scrollY, 0.0);
}

TEST_F(Scrolling, BackgroundLayersMoveByTheirFactors)
{
    // Main 640 x 480; layer 480 x 384: factors (480 - 320) / 320 = 0.5 and (384 - 240) / 240 = 0.6.
    load(emptyBlock(0, 32, 15, 12) + emptyBlock(0, 32, 20, 15));
    Tileset* layer = level.tilesets[0];
    level.update(0, 110);
    EXPECT_DOUBLE_EQ(layer->scrollX, 0.1);
    EXPECT_DOUBLE_EQ(layer->scrollY, 3.6);
    for (int i = 0; i < 9; ++i)
        level.update(0, stillShip(level));
    EXPECT_NEAR(layer->scrollX, 1.0, 1e-9);
    EXPECT_DOUBLE_EQ(layer->scrollY, 3.6);
    level.update(0, 100);  // refused for the main tileset, so for the layer too
    EXPECT_DOUBLE_EQ(layer->scrollY, 3.6);
}

TEST_F(Scrolling, BackgroundLayersStopInTheSameStepAsTheMainTileset)
{
    load(emptyBlock(0, 32, 15, 8) + emptyBlock(0, 16, 20, 8) + emptyBlock(0, 32, 20, 8));
    Tileset* main = level.mainTileset;
    int steps = 0;
    double previous = -1.0;
    while (main->scrollX != previous && steps < 5000) {
        previous = main->scrollX;
        level.update(0, stillShip(level));
        ++steps;
    }
    // 1597 steps moved, the 1598th did not.
    EXPECT_EQ(steps, 1598);
    // Layer 0: 480 wide, factor 0.5, so half of 319.4; layer 1: 320 wide, factor 0.
    EXPECT_NEAR(level.tilesets[0]->scrollX, 159.7, 1e-6);
    EXPECT_EQ(level.tilesets[1]->scrollX, 0.0);
    double stopped = level.tilesets[0]->scrollX;
    for (int i = 0; i < 20; ++i)
        level.update(0, stillShip(level));
    EXPECT_EQ(level.tilesets[0]->scrollX, stopped);
}

TEST_F(Scrolling, NarrowBackgroundLayerScrollsBackwardsWithoutBound)
{
    // Layer 160 x 96 under a 640 x 480 main: factors -160 / 320 = -0.5 and -144 / 240 = -0.6.
    load(emptyBlock(0, 32, 5, 3) + emptyBlock(0, 32, 20, 15));
    Tileset* layer = level.tilesets[0];
    EXPECT_DOUBLE_EQ(layer->factorX, -0.5);
    EXPECT_DOUBLE_EQ(layer->factorY, -0.6);
    level.update(0, 110);
    EXPECT_DOUBLE_EQ(layer->scrollX, -0.1);
    EXPECT_DOUBLE_EQ(layer->scrollY, -3.6);
}
