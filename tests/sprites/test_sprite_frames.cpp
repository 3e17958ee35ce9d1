#include <allegro.h>
#include <gtest/gtest.h>

#include "core/TestWorld.h"
#include "headless/Probe.h"
#include "headless/RenderLog.h"
#include "headless/ScratchFiles.h"
#include "level/Level.h"
#include "render/Renderer.h"
#include "sprites/CollisionMask.h"

namespace {

// Row y of the sprite's frame, one character per column: # where a one-pixel mask collides.
std::string rowOf(const Sprite& sprite, int frame, int y)
{
    BITMAP* pixel = makeBitmap(1, 1, opaqueWhite());
    CollisionMask* dot = createMask(pixel);
    std::string row;
    for (int x = 0; x < sprite.frameWidth; ++x)
        row += masksOverlap(sprite.frameMasks[frame], dot, 0, 0, x, y) ? '#' : '.';
    destroyMask(dot);
    destroy_bitmap(pixel);
    return row;
}

class SpriteFrames : public testing::Test {
protected:
    void SetUp() override { RenderLog::clear(); }

    void load(Sprite& sprite, const std::string& path, int frames)
    {
        sprite.renderer = &renderer;
        sprite.frameCount = (uint8_t)frames;
        sprite.loadFrames(path.c_str());
    }

    // 20 x 100: rows 0-32 opaque in columns 0-4, 33-65 in 5-9, 66-98 in 10-14, row 99 in 15-19.
    std::string bands()
    {
        BITMAP* picture = makeBitmap(20, 100, magenta());
        for (int band = 0; band < 4; ++band)
            rectfill(picture, band * 5, band * 33, band * 5 + 4, band < 3 ? band * 33 + 32 : 99, opaqueWhite());
        std::string path = saveBitmap(dir, "bands.bmp", picture);
        destroy_bitmap(picture);
        return path;
    }

    TempDir dir;
    Renderer renderer;
};

}  // namespace

// Each row: the frames the picture is cut into, a frame, a row of it, and what the row holds.
TEST_F(SpriteFrames, APictureIsCutIntoEqualBandsAndTheRowsLeftOverBelongToNoFrame)
{
    struct Case { int frames, height, frame, y; const char* row; };
    const Case cases[] = {
        {3, 33, 0, 0, "#####..............."},  {3, 33, 0, 32, "#####..............."},
        {3, 33, 1, 0, ".....#####.........."},  {3, 33, 1, 32, ".....#####.........."},
        {3, 33, 2, 0, "..........#####....."},  {3, 33, 2, 32, "..........#####....."},
        {1, 100, 0, 0, "#####..............."}, {1, 100, 0, 50, ".....#####.........."},
        {1, 100, 0, 99, "...............#####"},
    };
    for (const Case& c : cases) {
        Probe sprite;
        load(sprite, bands(), c.frames);
        ASSERT_EQ(sprite.frameMasks.size(), (size_t)c.frames);
        EXPECT_EQ(sprite.frameHeight, c.height);
        EXPECT_EQ(rowOf(sprite, c.frame, c.y), c.row) << c.frames << " frames, frame " << c.frame << " row " << c.y;
    }
}

TEST_F(SpriteFrames, ACopySharesTheFramesFreesNoneOfThemAndDrawsAtItsUnroundedScreenPosition)
{
    Probe* prototype = new Probe;
    load(*prototype, bands(), 3);
    Level* level = makeLevel(&renderer, 40, 30);
    setScroll(*level, 10.25, 3.5);
    prototype->level = level;
    Probe* copy = new Probe;
    copy->copyFramesFrom(*prototype);
    EXPECT_EQ(copy->frameMasks, prototype->frameMasks);
    copy->x = 50.5;
    copy->y = 20.0;
    copy->frameIndex = 1;
    RenderLog::clear();
    copy->draw();
    ASSERT_EQ(RenderLog::quads.size(), 1u);
    EXPECT_EQ(RenderLog::describe(RenderLog::quads[0]),
              "40.25,16.5 20x33 #" + std::to_string(prototype->frameTextures[1]));

    delete copy;
    EXPECT_EQ(rowOf(*prototype, 1, 10), ".....#####..........");
    // Each mask is freed exactly once (AddressSanitizer reports a second free).
    delete prototype;
    delete level;
}

// Two sprites of a 10 x 20 picture of two 10 x 10 frames, frame 0 opaque in columns 0-4 and
// frame 1 in 5-9. Each row: each sprite's frame and position, and whether they collide.
TEST_F(SpriteFrames, SpritesCollideWithTheirCurrentFramesAtTheirPositionsTruncatedTowardZero)
{
    BITMAP* picture = makeBitmap(10, 20, magenta());
    rectfill(picture, 0, 0, 4, 9, opaqueWhite());
    rectfill(picture, 5, 10, 9, 19, opaqueWhite());
    Probe c;
    load(c, saveBitmap(dir, "halves.bmp", picture), 2);
    destroy_bitmap(picture);
    Probe d;
    d.copyFramesFrom(c);
    struct Case { const char* name; int cFrame; double cx, cy; int dFrame; double dx, dy; bool collide; };
    const Case cases[] = {
        {"side by side", 1, 0.0, 0.0, 0, 10.0, 0.0, false},  {"a column over", 1, 0.0, 0.0, 0, 9.0, 0.0, true},
        {"one above", 0, 0.0, 0.0, 0, 0.0, 10.0, false},     {"a row over", 0, 0.0, 0.0, 0, 0.0, 9.0, true},
        {"10.9 is 10", 1, 10.9, 0.0, 0, 20.0, 0.0, false},   {"11 meets 20", 1, 11.0, 0.0, 0, 20.0, 0.0, true},
        {"-0.7 is 0", 0, -0.7, 0.0, 1, -10.0, 0.0, false},   {"-1 meets -1", 0, -1.0, 0.0, 1, -10.0, 0.0, true},
        {"y -0.7 is 0", 0, 0.0, -0.7, 0, 0.0, -10.0, false}, {"y 0.9 is 0", 0, 0.0, 0.9, 0, 0.0, 10.0, false},
        {"frames 1 and 0", 1, 0.0, 0.0, 0, 5.0, 0.0, true},  {"frames 0 and 0", 0, 0.0, 0.0, 0, 5.0, 0.0, false},
        {"frames 1 and 1", 1, 0.0, 0.0, 1, 5.0, 0.0, false}, {"frames 0 and 1", 0, 0.0, 0.0, 1, 5.0, 0.0, false},
    };
    for (const Case& row : cases) {
        c.frameIndex = (uint8_t)row.cFrame;
        c.x = row.cx;
        c.y = row.cy;
        d.frameIndex = (uint8_t)row.dFrame;
        d.x = row.dx;
        d.y = row.dy;
        EXPECT_EQ(c.collidesWith(d), row.collide) << row.name;
        EXPECT_EQ(d.collidesWith(c), row.collide) << row.name << ", asked the other way";
    }
}
