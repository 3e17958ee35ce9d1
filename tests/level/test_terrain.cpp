#include <allegro.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>

#include "headless/RenderLog.h"
#include "headless/ScratchFiles.h"
#include "level/Level.h"
#include "level/LevelTestData.h"
#include "level/Tileset.h"
#include "render/Renderer.h"
#include "sprites/CollisionMask.h"
#include "sprites/Sprite.h"

namespace {

// A sprite with one frame whose mask the test owns.
class Probe : public Sprite {
public:
    Probe(int width, int height, std::initializer_list<std::pair<int, int>> opaquePixels)
    {
        BITMAP* picture = makeBitmap(width, height, opaquePixels.size() ? magenta() : makecol(255, 255, 255));
        for (const std::pair<int, int>& p : opaquePixels)
            putpixel(picture, p.first, p.second, makecol(255, 255, 255));
        frameMasks.push_back(createMask(picture));
        frameTextures.push_back(1);
        destroy_bitmap(picture);
        frameWidth = width;
        frameHeight = height;
        frameIndex = 0;
        frameCount = 1;
        sharesFrames = true;
    }
    ~Probe() override { destroyMask(frameMasks[0]); }

    void draw() override {}
    int update(int) override { return 0; }

    bool hitsAt(const Level& level, double atX, double atY)
    {
        x = atX;
        y = atY;
        return hitsTerrain(level);
    }
};

class Terrain : public testing::Test {
protected:
    void SetUp() override
    {
        RenderLog::clear();
        // Tiles 0 and 1 opaque all over; tile 2 transparent but for its bottom-right pixel.
        BITMAP* picture = makeBitmap(32, 96, makecol(255, 255, 255));
        rectfill(picture, 0, 64, 31, 95, magenta());
        putpixel(picture, 31, 95, makecol(255, 255, 255));
        datafile.addBitmap(picture);
    }

    void load(const std::string& grid)
    {
        std::istringstream in("LEVELDEF terrain\n" + block(0, 32, 4, 4, grid));
        ASSERT_EQ(level.readDescription(in, datafile.get()), 0);
    }

    Renderer renderer;
    Level level{&renderer};
    MemoryDatafile datafile;
};

// Row 0 solid; cell (2, 1) solid from (64, 32) to (95, 63); cell (1, 2) has one solid pixel at (63, 95).
const char* const Walls = "1 1 1 1\n"
                          "0 0 1 0\n"
                          "0 2 0 0\n"
                          "0 0 0 0\n";

}

TEST_F(Terrain, TopRowOfTheGridIsNeverTested)
{
    load(Walls);
    Probe ship(8, 8, {});
    EXPECT_FALSE(ship.hitsAt(level, 40, 10));
    EXPECT_FALSE(ship.hitsAt(level, 40, 0));
    EXPECT_FALSE(ship.hitsAt(level, 40, 24));
}

TEST_F(Terrain, SpriteEndingOnTheGridLineAboveASolidCellDoesNotHitIt)
{
    load(Walls);
    Probe ship(8, 8, {});
    EXPECT_FALSE(ship.hitsAt(level, 70, 24));
    EXPECT_TRUE(ship.hitsAt(level, 70, 25));
}

TEST_F(Terrain, SpriteEndingOnTheGridLineLeftOfASolidCellDoesNotHitIt)
{
    load(Walls);
    Probe ship(8, 8, {});
    EXPECT_FALSE(ship.hitsAt(level, 56, 40));
    EXPECT_TRUE(ship.hitsAt(level, 57, 40));
    EXPECT_TRUE(ship.hitsAt(level, 95, 63));
    EXPECT_FALSE(ship.hitsAt(level, 96, 40));
}

TEST_F(Terrain, CellsShowingTileZeroAreEmptyThoughItsPictureIsOpaque)
{
    load(Walls);
    Probe ship(8, 8, {});
    EXPECT_FALSE(ship.hitsAt(level, 10, 100));
    EXPECT_FALSE(ship.hitsAt(level, 5, 40));
    Probe wide(60, 60, {});
    EXPECT_FALSE(wide.hitsAt(level, 64, 66));
}

TEST_F(Terrain, SolidTileHitsOnlyWhereBothMasksHavePixels)
{
    load(Walls);
    Probe ship(8, 8, {});
    EXPECT_FALSE(ship.hitsAt(level, 32, 64));
    EXPECT_TRUE(ship.hitsAt(level, 56, 88));
    Probe nose(8, 8, {{0, 0}});
    EXPECT_FALSE(nose.hitsAt(level, 56, 88));
    EXPECT_TRUE(nose.hitsAt(level, 63, 95));
}

TEST_F(Terrain, SpritePositionIsTruncatedBeforeThePixelTest)
{
    load(Walls);
    Probe ship(8, 8, {});
    // At 55.9 the frame covers columns 55 to 62, short of the solid pixel in column 63.
    EXPECT_FALSE(ship.hitsAt(level, 55.9, 88));
    EXPECT_TRUE(ship.hitsAt(level, 56.0, 88.9));
}

TEST_F(Terrain, SpriteOutsideTheGridHitsNothing)
{
    // Every cell solid: 128 x 128 pixels of wall below the top row.
    load("1 1 1 1\n1 1 1 1\n1 1 1 1\n1 1 1 1\n");
    Probe ship(8, 8, {});
    EXPECT_TRUE(ship.hitsAt(level, -4, 40));
    EXPECT_TRUE(ship.hitsAt(level, 124, 40));
    EXPECT_TRUE(ship.hitsAt(level, 40, 124));
    const double outside[][2] = {{-8, 40},   {-100, 40}, {-100, -100}, {128, 40},    {1000, 40},
                                 {40, 128},  {40, 1000}, {1000, 1000}, {-100, 1000}, {128, 128},
                                 {-1e12, 40}, {40, 1e12}};
    for (const auto& at : outside)
        EXPECT_FALSE(ship.hitsAt(level, at[0], at[1])) << at[0] << "," << at[1];
}

TEST_F(Terrain, OnlyTheMainTilesetCollides)
{
    std::istringstream in("LEVELDEF layers\n" + block(0, 32, 4, 4, "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1") +
                          block(0, 32, 4, 4, "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"));
    ASSERT_EQ(level.readDescription(in, datafile.get()), 0);
    Probe ship(8, 8, {});
    EXPECT_FALSE(ship.hitsAt(level, 40, 40));
}
