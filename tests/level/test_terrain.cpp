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

class Terrain : public LevelTest {
protected:
    void SetUp() override
    {
        LevelTest::SetUp();
        // Tiles 0 and 1 opaque all over; tile 2 transparent but for its bottom-right pixel.
        BITMAP* picture = makeBitmap(32, 96, makecol(255, 255, 255));
        rectfill(picture, 0, 64, 31, 95, magenta());
        putpixel(picture, 31, 95, makecol(255, 255, 255));
        datafile.addBitmap(picture);
    }

    void load(const std::string& grid) { ASSERT_EQ(read("LEVELDEF terrain\n" + block(0, 32, 4, 4, grid)), 0); }
};

// Row 0 solid; cell (2, 1) solid from (64, 32) to (95, 63); cell (1, 2) has one solid pixel at (63, 95).
const char* const Walls = "1 1 1 1\n"
                          "0 0 1 0\n"
                          "0 2 0 0\n"
                          "0 0 0 0\n";

}

// Each row: a probe, where it stands on Walls, and whether it hits.
TEST_F(Terrain, WallsHitOnlyWhereBothMasksHavePixelsBelowTheTopRow)
{
    load(Walls);
    Probe ship(8, 8, {});
    Probe nose(8, 8, {{0, 0}});
    Probe wide(60, 60, {});
    struct Case {
        const char* name;
        Probe* probe;
        double x;
        double y;
        bool hits;
    };
    const Case cases[] = {
        {"inside the top row, which is never tested", &ship, 40, 10, false},
        {"at the top of the top row", &ship, 40, 0, false},
        {"ending on the top row's lower edge", &ship, 40, 24, false},
        {"ending on the grid line above a solid cell", &ship, 70, 24, false},
        {"one pixel into the solid cell below", &ship, 70, 25, true},
        {"ending on the grid line left of a solid cell", &ship, 56, 40, false},
        {"one pixel into the solid cell to the right", &ship, 57, 40, true},
        {"on the solid cell's last pixel", &ship, 95, 63, true},
        {"just right of the solid cell", &ship, 96, 40, false},
        {"on a cell showing tile 0, whose picture is opaque", &ship, 10, 100, false},
        {"on another cell showing tile 0", &ship, 5, 40, false},
        {"a wide probe over tile 0 cells only", &wide, 64, 66, false},
        {"on the transparent part of tile 2", &ship, 32, 64, false},
        {"over tile 2's one solid pixel", &ship, 56, 88, true},
        {"a probe whose one pixel misses it", &nose, 56, 88, false},
        {"a probe whose one pixel meets it", &nose, 63, 95, true},
        // Positions are truncated before the pixel test.
        {"at x 55.9, covering columns 55 to 62 only", &ship, 55.9, 88, false},
        {"at y 88.9, covering rows 88 to 95", &ship, 56.0, 88.9, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.probe->hitsAt(level, c.x, c.y), c.hits) << c.name;
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
