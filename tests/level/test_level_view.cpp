#include <allegro.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "headless/Probe.h"
#include "headless/RenderLog.h"
#include "headless/ScratchFiles.h"
#include "level/Level.h"
#include "level/LevelTestData.h"
#include "level/Tileset.h"

namespace {

// Picture 0, 32 x 128: tiles 0 to 3, whose textures are 1 to 4 in a fresh log; picture 1, 16 x 16.
// Picture 2, 32 x 96: tiles 0 and 1 opaque all over, tile 2 transparent but for its bottom-right pixel.
class LevelView : public LevelTest {
protected:
    void SetUp() override
    {
        LevelTest::SetUp();
        datafile.addBitmap(makeBitmap(32, 128, makecol(255, 0, 0)));
        datafile.addBitmap(makeBitmap(16, 16, makecol(0, 255, 0)));
        BITMAP* picture = makeBitmap(32, 96, makecol(255, 255, 255));
        rectfill(picture, 0, 64, 31, 95, magenta());
        putpixel(picture, 31, 95, makecol(255, 255, 255));
        datafile.addBitmap(picture);
    }

    // A level of the given blocks, the last one main.
    void load(const std::string& blocks, Level* into = nullptr)
    {
        ASSERT_EQ(read("LEVELDEF view\n" + blocks, into), 0);
    }
};

using Scrolling = LevelView;
using TilesetDrawing = LevelView;
using Terrain = LevelView;

// A probe of one frame, opaque all over or only at the given pixels.
class Shape : public Probe {
public:
    Shape(int width, int height, std::initializer_list<std::pair<int, int>> opaquePixels)
    {
        BITMAP* picture = makeBitmap(width, height, opaquePixels.size() ? magenta() : opaqueWhite());
        for (const std::pair<int, int>& p : opaquePixels)
            putpixel(picture, p.first, p.second, opaqueWhite());
        addFrame(picture);
        destroy_bitmap(picture);
    }
};

}

// Each row: a bounded 640 x 480 main tileset (or, when unbounded, a layer of that size) at a position,
// a move, whether it is made, and where the tileset then stands.
TEST_F(Scrolling, BoundedTilesetMovesOnlyWhileTheScreenStaysInsideItsGrid)
{
    load(block(0, 32, 20, 15));
    Tileset* main = level.mainTileset;
    struct Case { const char* name; bool bounded; bool vertical; double from; double by; bool moved; double to; };
    // The screen is 320 x 240; the last half pixel must still show, so x stops at 319.5 and y at 239.5.
    const Case cases[] = {
        {"right to the last position", true, false, 0.0, 319.5, true, 319.5},
        {"right past the last position", true, false, 0.0, 319.6, false, 0.0},
        {"a step right from the last position", true, false, 319.5, 0.2, false, 319.5},
        {"left back to exactly 0", true, false, 0.5, -0.5, true, 0.0},
        {"left past 0", true, false, 0.2, -0.3, false, 0.2},
        {"down to the last position", true, true, 0.0, 239.5, true, 239.5},
        {"down past the last position", true, true, 100.0, 139.6, false, 100.0},
        {"up back to exactly 0", true, true, 0.5, -0.5, true, 0.0},
        {"up past 0", true, true, 0.0, -0.1, false, 0.0},
        {"an unbounded layer far left", false, false, 0.0, -1000.0, true, -1000.0},
        {"an unbounded layer far down", false, true, 0.0, 1000.0, true, 1000.0},
    };
    for (const Case& c : cases) {
        main->bounded = c.bounded;
        double& position = c.vertical ? main->scrollY : main->scrollX;
        position = c.from;
        EXPECT_EQ(c.vertical ? main->scrollByY(c.by) : main->scrollByX(c.by), c.moved) << c.name;
        EXPECT_DOUBLE_EQ(position, c.to) << c.name;
    }
}

// Each row: where the ship is, and where the main tileset and a layer stand after that frame.
TEST_F(Scrolling, ViewMovesRightAndFollowsTheShipInOneStepOrNotAtAllWithTheLayersInTow)
{
    // Main 640 x 480; layer 480 x 384: factors (480 - 320) / 320 = 0.5 and (384 - 240) / 240 = 0.6.
    // The view moves 0.2 right and by shipY - scrollY - 120 + 16 down, when the whole move fits.
    load(block(0, 32, 15, 12) + block(0, 32, 20, 15));
    Tileset* main = level.mainTileset;
    Tileset* layer = level.tilesets[0];
    struct Case { int shipY; double mainX, mainY, layerX, layerY; };
    const Case cases[] = {
        {110, 0.2, 6.0, 0.1, 3.6},        // 110 - 0 - 104 = 6
        {100, 0.4, 6.0, 0.2, 3.6},        // 100 - 6 - 104 = -10 would give -4
        {400, 0.6, 6.0, 0.3, 3.6},        // 400 - 6 - 104 = 290 would give 296
        {343, 0.8, 239.0, 0.4, 143.4},    // 343 - 6 - 104 = 233 gives 239
        {345, 1.0, 239.0, 0.5, 143.4},    // 345 - 239 - 104 = 2 would give 241
        {104, 1.2, 0.0, 0.6, 0.0},        // 104 - 239 - 104 = -239 gives 0
    };
    for (const Case& c : cases) {
        level.update(0, c.shipY);
        SCOPED_TRACE("ship at " + std::to_string(c.shipY));
        EXPECT_NEAR(main->scrollX, c.mainX, 1e-9);
        EXPECT_NEAR(main->scrollY, c.mainY, 1e-9);
        EXPECT_NEAR(layer->scrollX, c.layerX, 1e-9);
        EXPECT_NEAR(layer->scrollY, c.layerY, 1e-9);
    }
    // 320 / 0.2 = 1600 steps, less the last, which would show half a pixel past the grid; the layer stops too.
    for (int i = 0; i < 2000; ++i)
        level.update(0, 104);
    EXPECT_NEAR(main->scrollX, 319.4, 1e-6);
    EXPECT_NEAR(layer->scrollX, 159.7, 1e-6);
}

// Each row: a level whose main tileset is scrolled to a position, how many quads it draws, and the first
// and last of them: where, and of which texture (tile k of a picture has texture k + 1 in a fresh log).
TEST_F(TilesetDrawing, CellsTheScreenShowsAreDrawnRowByRowAtTheirPositionLessTheScroll)
{
    struct Case {
        const char* name; std::string block; double scrollX, scrollY; size_t quads;
        double firstX, firstY; unsigned firstTexture; double lastX, lastY; unsigned lastTexture;
    };
    const Case cases[] = {
        // Column 0 is not drawn: trunc(31.6 + 0.5) / 32 = 1.
        {"unrounded positions", block(0, 32, 3, 2, "1 2 3\n0 1 2"), 31.6, 0.25, 4, 0.4, -0.25, 3, 32.4, 31.75, 3},
        {"a column whose last half pixel shows", block(0, 32, 3, 1), 31.4, 0, 3, -31.4, 0, 1, 32.6, 0, 1},
        // Columns 15 to 26 and rows 9 to 17: trunc(500.8) / 32 = 15 and trunc(301.2) / 32 = 9.
        {"twelve columns and nine rows of 32-pixel tiles", block(0, 32, 100, 100), 500.3, 300.7, 108, -20.3,
         -12.7, 1, 832 - 500.3, 544 - 300.7, 1},
        {"22 columns and 17 rows of 16-pixel tiles", block(1, 16, 50, 50), 0, 0, 22 * 17, 0, 0, 1, 336, 256, 1},
        // Columns 9 to 19 and rows 2 to 9: trunc(319.9) / 32 = 9, trunc(80.5) / 32 = 2.
        {"up to the right and bottom edges of the grid", block(0, 32, 20, 10), 319.4, 80, 88, 288 - 319.4,
         64 - 80, 1, 608 - 319.4, 288 - 80, 1},
        {"a layer scrolled left of and above its grid", block(0, 32, 5, 3, "1 1 1 1 1\n2 2 2 2 2\n3 3 3 3 3"), -250.3,
         -100, 15, 250.3, 100, 2, 128 + 250.3, 64 + 100, 4},
        // The layer's tile pictures are made first, so its textures are 1 to 4 and the main tileset's 5.
        {"layers in file order, the main tileset last", block(0, 32, 2, 1, "3 3") + block(1, 16, 2, 1, "0 0"), 0, 0, 4,
         0, 0, 4, 16, 0, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Level fresh(&renderer);
        RenderLog::clear();
        load(c.block, &fresh);
        fresh.mainTileset->scrollX = c.scrollX;
        fresh.mainTileset->scrollY = c.scrollY;
        RenderLog::quads.clear();
        fresh.draw();
        ASSERT_EQ(RenderLog::quads.size(), c.quads);
        const QuadCall& first = RenderLog::quads.front();
        const QuadCall& last = RenderLog::quads.back();
        EXPECT_NEAR(first.x, c.firstX, 1e-9);
        EXPECT_NEAR(first.y, c.firstY, 1e-9);
        EXPECT_EQ(first.texture, c.firstTexture);
        EXPECT_NEAR(last.x, c.lastX, 1e-9);
        EXPECT_NEAR(last.y, c.lastY, 1e-9);
        EXPECT_EQ(last.texture, c.lastTexture);
        EXPECT_EQ(last.width, fresh.mainTileset->tileSize);
    }
}

// Row 0 solid; cell (2, 1) solid from (64, 32) to (95, 63); cell (1, 2) has one solid pixel at (63, 95).
// Each row: a probe, where it stands, and whether it hits the main tileset.
TEST_F(Terrain, SpritesHitOnlyWhereBothMasksHavePixelsBelowTheTopRowOfTheMainTileset)
{
    Level walls(&renderer), solid(&renderer), layered(&renderer);
    load(block(2, 32, 4, 4, "1 1 1 1\n0 0 1 0\n0 2 0 0\n0 0 0 0"), &walls);
    // Every cell solid: 128 x 128 pixels of wall below the top row.
    load(block(2, 32, 4, 4, "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1"), &solid);
    load(block(2, 32, 4, 4, "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1") + block(2, 32, 4, 4), &layered);
    Shape ship(8, 8, {});
    Shape nose(8, 8, {{0, 0}});
    Shape wide(60, 60, {});
    struct Case { const char* name; const Level* level; Probe* probe; double x, y; bool hits; };
    const Case cases[] = {
        {"inside the top row, which is never tested", &walls, &ship, 40, 10, false},
        {"at the top of the top row", &walls, &ship, 40, 0, false},
        {"ending on the top row's lower edge", &walls, &ship, 40, 24, false},
        {"ending on the grid line above a solid cell", &walls, &ship, 70, 24, false},
        {"one pixel into the solid cell below", &walls, &ship, 70, 25, true},
        {"ending on the grid line left of a solid cell", &walls, &ship, 56, 40, false},
        {"one pixel into the solid cell to the right", &walls, &ship, 57, 40, true},
        {"on the solid cell's last pixel", &walls, &ship, 95, 63, true},
        {"just right of the solid cell", &walls, &ship, 96, 40, false},
        {"on a cell showing tile 0, whose picture is opaque", &walls, &ship, 10, 100, false},
        {"a wide probe over tile 0 cells only", &walls, &wide, 64, 66, false},
        {"on the transparent part of tile 2", &walls, &ship, 32, 64, false},
        {"over tile 2's one solid pixel", &walls, &ship, 56, 88, true},
        {"a probe whose one pixel misses it", &walls, &nose, 56, 88, false},
        {"a probe whose one pixel meets it", &walls, &nose, 63, 95, true},
        // Positions are truncated before the pixel test.
        {"at x 55.9, covering columns 55 to 62 only", &walls, &ship, 55.9, 88, false},
        {"at y 88.9, covering rows 88 to 95", &walls, &ship, 56.0, 88.9, true},
        {"half over the left edge", &solid, &ship, -4, 40, true},
        {"half over the right edge", &solid, &ship, 124, 40, true},
        {"half over the bottom edge", &solid, &ship, 40, 124, true},
        {"just left of the grid", &solid, &ship, -8, 40, false},
        {"just right of the grid", &solid, &ship, 128, 40, false},
        {"just below the grid", &solid, &ship, 40, 128, false},
        {"below and right of the grid", &solid, &ship, 128, 128, false},
        {"far left and above", &solid, &ship, -100, -100, false},
        {"far right and below", &solid, &ship, 1000, 1000, false},
        {"beyond the cell arithmetic, left", &solid, &ship, -1e12, 40, false},
        {"beyond the cell arithmetic, below", &solid, &ship, 40, 1e12, false},
        {"on a solid background layer", &layered, &ship, 40, 40, false},
    };
    for (const Case& c : cases) {
        c.probe->x = c.x;
        c.probe->y = c.y;
        EXPECT_EQ(c.probe->hitsTerrain(*c.level), c.hits) << c.name;
    }
}
