#include <allegro.h>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "headless/RenderLog.h"
#include "headless/ScratchFiles.h"
#include "level/Level.h"
#include "level/LevelTestData.h"
#include "level/Tileset.h"
#include "render/Renderer.h"

namespace {

class TilesetDrawing : public testing::Test {
protected:
    void SetUp() override
    {
        RenderLog::clear();
        // Picture 0 yields tiles 0 to 3, whose textures are 1 to 4 in a fresh log.
        datafile.addBitmap(makeBitmap(32, 128, makecol(255, 0, 0)));
        datafile.addBitmap(makeBitmap(16, 16, makecol(0, 255, 0)));
    }

    Tileset* readTileset(const std::string& text)
    {
        std::istringstream in(text);
        tileset.reset(new Tileset(&renderer));
        EXPECT_EQ(tileset->read(in, datafile.get()), 0);
        RenderLog::quads.clear();
        return tileset.get();
    }

    Renderer renderer;
    MemoryDatafile datafile;
    std::unique_ptr<Tileset> tileset;
};

}

TEST_F(TilesetDrawing, CellsAreDrawnAtTheirPositionLessTheScrollUnrounded)
{
    // Two rows of three: 1 2 3 / 0 1 2.
    Tileset* t = readTileset(block(0, 32, 3, 2, "1 2 3\n0 1 2"));
    t->scrollX = 31.6;
    t->scrollY = 0.25;
    t->draw();
    // firstCol = trunc(32.1) / 32 = 1: column 0 is not drawn. Columns 1 and 2 of both rows.
    ASSERT_EQ(RenderLog::quads.size(), 4u);
    const QuadCall& first = RenderLog::quads[0];
    EXPECT_NEAR(first.x, 0.4, 1e-9);
    EXPECT_DOUBLE_EQ(first.y, -0.25);
    EXPECT_EQ(first.width, 32);
    EXPECT_EQ(first.height, 32);
    EXPECT_EQ(first.texture, 3u);  // tile 2
    EXPECT_NEAR(RenderLog::quads[1].x, 32.4, 1e-9);
    EXPECT_EQ(RenderLog::quads[1].texture, 4u);  // tile 3
    EXPECT_NEAR(RenderLog::quads[2].x, 0.4, 1e-9);
    EXPECT_DOUBLE_EQ(RenderLog::quads[2].y, 31.75);
    EXPECT_EQ(RenderLog::quads[2].texture, 2u);  // tile 1
    EXPECT_EQ(RenderLog::quads[3].texture, 3u);  // tile 2
}

TEST_F(TilesetDrawing, ColumnWhoseLastHalfPixelShowsIsStillDrawn)
{
    Tileset* t = readTileset(emptyBlock(0, 32, 3, 1));
    t->scrollX = 31.4;  // trunc(31.9) / 32 = 0
    t->draw();
    ASSERT_EQ(RenderLog::quads.size(), 3u);
    EXPECT_NEAR(RenderLog::quads[0].x, -31.4, 1e-9);
}

TEST_F(TilesetDrawing, AtMostTwelveColumnsAndNineRowsOfThirtyTwoPixelTilesAreDrawn)
{
    Tileset* t = readTileset(emptyBlock(0, 32, 100, 100));
    t->scrollX = 500.3;  // trunc(500.8) / 32 = 15
    t->scrollY = 300.7;  // trunc(301.2) / 32 = 9
    t->draw();
    ASSERT_EQ(RenderLog::quads.size(), 108u);
    // Cell (15, 9) first, at 480 - 500.3 and 288 - 300.7; cell (26, 17) last.
    EXPECT_NEAR(RenderLog::quads.front().x, -20.3, 1e-9);
    EXPECT_NEAR(RenderLog::quads.front().y, -12.7, 1e-9);
    EXPECT_NEAR(RenderLog::quads.back().x, 832 - 500.3, 1e-9);
    EXPECT_NEAR(RenderLog::quads.back().y, 544 - 300.7, 1e-9);
    // Row by row: the second quad is the next column of the same row.
    EXPECT_NEAR(RenderLog::quads[1].x, 512 - 500.3, 1e-9);
    EXPECT_NEAR(RenderLog::quads[1].y, -12.7, 1e-9);
}

TEST_F(TilesetDrawing, SixteenPixelTilesDrawTwentyTwoColumnsAndSeventeenRows)
{
    Tileset* t = readTileset(emptyBlock(1, 16, 50, 50));
    t->draw();
    EXPECT_EQ(RenderLog::quads.size(), 22u * 17u);
}

TEST_F(TilesetDrawing, DrawingStopsAtTheRightAndBottomEdgesOfTheGrid)
{
    // 20 x 10 tiles: at the right end firstCol = trunc(319.9) / 32 = 9, so columns 9 to 19;
    // firstRow = trunc(80.5) / 32 = 2, so rows 2 to 9.
    Tileset* t = readTileset(emptyBlock(0, 32, 20, 10));
    t->scrollX = 319.4;
    t->scrollY = 80.0;
    t->draw();
    EXPECT_EQ(RenderLog::quads.size(), 11u * 8u);
    EXPECT_NEAR(RenderLog::quads.back().x, 608 - 319.4, 1e-9);
    EXPECT_NEAR(RenderLog::quads.back().y, 288 - 80.0, 1e-9);
}

TEST_F(TilesetDrawing, LayerScrolledLeftOfItsGridDrawsOnlyItsOwnCells)
{
    // 5 x 3 tiles, 160 x 96 pixels, scrolled to negative positions as a narrow layer is.
    Tileset* t = readTileset(block(0, 32, 5, 3, "1 1 1 1 1\n2 2 2 2 2\n3 3 3 3 3"));
    t->scrollX = -250.3;
    t->scrollY = -100.0;
    t->draw();
    ASSERT_EQ(RenderLog::quads.size(), 15u);
    EXPECT_NEAR(RenderLog::quads[0].x, 250.3, 1e-9);
    EXPECT_NEAR(RenderLog::quads[0].y, 100.0, 1e-9);
    EXPECT_EQ(RenderLog::quads[0].texture, 2u);
    EXPECT_EQ(RenderLog::quads[14].texture, 4u);
}

TEST_F(TilesetDrawing, LevelDrawsItsLayersInFileOrderWithTheMainTilesetLast)
{
    // The layer's tile pictures come first, so its textures are 1 to 4 and the main tileset's 5 and up.
    std::istringstream in("LEVELDEF t\n" + block(0, 32, 2, 1, "3 3") + block(1, 16, 2, 1, "0 0"));
    Level level(&renderer);
    ASSERT_EQ(level.readDescription(in, datafile.get()), 0);
    RenderLog::quads.clear();
    EXPECT_EQ(level.draw(), 0);
    ASSERT_EQ(RenderLog::quads.size(), 4u);
    EXPECT_EQ(RenderLog::quads[0].texture, 4u);
    EXPECT_EQ(RenderLog::quads[1].texture, 4u);
    EXPECT_EQ(RenderLog::quads[2].texture, 5u);
    EXPECT_EQ(RenderLog::quads[3].texture, 5u);
    EXPECT_EQ(RenderLog::quads[3].width, 16);
}

TEST_F(TilesetDrawing, NarrowLayerDrawsInsideItsGridAfterLongScrolling)
{
    // Layer 160 x 96 under a 640 x 480 main: factors -0.5 and -0.6.
    std::istringstream in("LEVELDEF t\n" + block(0, 32, 5, 3, "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1") +
                          emptyBlock(0, 32, 20, 15));
    Level level(&renderer);
    ASSERT_EQ(level.readDescription(in, datafile.get()), 0);
    for (int step = 0; step < 1000; ++step)
        level.update(0, 300);
    // 1000 steps of 0.2 take the main tileset to 200, the layer to -100;
    // the ship at 300 takes the main one to 196, the layer to -117.6.
    EXPECT_NEAR(level.tilesets[0]->scrollX, -100.0, 1e-6);
    EXPECT_NEAR(level.tilesets[0]->scrollY, -117.6, 1e-6);
    RenderLog::quads.clear();
    level.draw();
    int layerQuads = 0;
    for (const QuadCall& quad : RenderLog::quads)
        layerQuads += quad.texture == 2u;
    EXPECT_EQ(layerQuads, 15);
}
