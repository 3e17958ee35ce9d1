#include <allegro.h>
#include <gtest/gtest.h>

#include "core/TestWorld.h"
#include "headless/RenderLog.h"
#include "headless/ScratchFiles.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "render/Renderer.h"
#include "sprites/CollisionMask.h"
#include "sprites/Sprite.h"

namespace {

// The smallest concrete sprite: draws its current frame, never finishes.
class Probe : public Sprite {
public:
    void draw() override { drawFrame(); }
    int update(int) override { return 0; }
};

bool bitAt(const CollisionMask* mask, int x, int y)
{
    return (mask->rows[y][x / 32] >> (31 - x % 32)) & 1u;
}

// Row y of the mask, one character per column: # where a bit is set.
std::string rowOf(const CollisionMask* mask, int y)
{
    std::string row;
    for (int x = 0; x < mask->width; ++x)
        row += bitAt(mask, x, y) ? '#' : '.';
    return row;
}

// 20 x 100: rows 0-32 opaque in columns 0-4, rows 33-65 in 5-9, rows 66-98 in 10-14, row 99 in 15-19.
std::string writeBandedPicture(const TempDir& dir)
{
    BITMAP* picture = makeBitmap(20, 100, magenta());
    rectfill(picture, 0, 0, 4, 32, makecol32(255, 0, 0));
    rectfill(picture, 5, 33, 9, 65, makecol32(0, 255, 0));
    rectfill(picture, 10, 66, 14, 98, makecol32(0, 0, 255));
    rectfill(picture, 15, 99, 19, 99, makecol32(255, 255, 0));
    std::string path = saveBitmap(dir, "bands.bmp", picture);
    destroy_bitmap(picture);
    return path;
}

// 10 x 20, two frames of 10 x 10: frame 0 opaque in columns 0-4, frame 1 in columns 5-9.
std::string writeHalvesPicture(const TempDir& dir)
{
    BITMAP* picture = makeBitmap(10, 20, magenta());
    rectfill(picture, 0, 0, 4, 9, opaqueWhite());
    rectfill(picture, 5, 10, 9, 19, opaqueWhite());
    std::string path = saveBitmap(dir, "halves.bmp", picture);
    destroy_bitmap(picture);
    return path;
}

class SpriteFrames : public testing::Test {
protected:
    void SetUp() override { RenderLog::clear(); }

    void load(Sprite& sprite, const std::string& path, int frames)
    {
        sprite.renderer = &renderer;
        sprite.frameCount = (uint8_t)frames;
        sprite.sharesFrames = false;
        sprite.loadFrames(path.c_str());
    }

    TempDir dir;
    Renderer renderer;
};

}  // namespace

TEST_F(SpriteFrames, APictureIsCutIntoEqualBandsAndTheRowsLeftOverBelongToNoFrame)
{
    Probe sprite;
    load(sprite, writeBandedPicture(dir), 3);

    ASSERT_EQ(sprite.frameMasks.size(), 3u);
    ASSERT_EQ(sprite.frameTextures.size(), 3u);
    EXPECT_EQ(RenderLog::texturesMade, 3);
    EXPECT_EQ(sprite.frameWidth, 20);
    EXPECT_EQ(sprite.frameHeight, 33);
    const char* expected[3] = {"#####...............", ".....#####..........", "..........#####....."};
    for (int frame = 0; frame < 3; ++frame) {
        const CollisionMask* mask = sprite.frameMasks[frame];
        ASSERT_NE(mask, nullptr);
        ASSERT_EQ(mask->width, 20);
        ASSERT_EQ(mask->height, 33);
        for (int y = 0; y < 33; ++y)
            EXPECT_EQ(rowOf(mask, y), expected[frame]) << "frame " << frame << " row " << y;
    }
}

TEST_F(SpriteFrames, WithOneFrameTheWholePictureIsTheFrame)
{
    Probe sprite;
    load(sprite, writeBandedPicture(dir), 1);

    ASSERT_EQ(sprite.frameMasks.size(), 1u);
    EXPECT_EQ(sprite.frameWidth, 20);
    EXPECT_EQ(sprite.frameHeight, 100);
    EXPECT_EQ(rowOf(sprite.frameMasks[0], 0), "#####...............");
    EXPECT_EQ(rowOf(sprite.frameMasks[0], 50), ".....#####..........");
    EXPECT_EQ(rowOf(sprite.frameMasks[0], 99), "...............#####");
}

TEST_F(SpriteFrames, ACopySharesTheFramesAndFreesNoneOfThem)
{
    Probe* prototype = new Probe;
    load(*prototype, writeBandedPicture(dir), 3);
    Level* someLevel = makeLevel(&renderer, 20, 15);
    prototype->level = someLevel;
    prototype->frameIndex = 2;
    prototype->frameTicks = 30;
    prototype->x = 7.0;

    Probe* copy = new Probe;
    copy->copyFramesFrom(*prototype);
    EXPECT_EQ(copy->frameCount, 3);
    EXPECT_EQ(copy->frameTextures, prototype->frameTextures);
    EXPECT_EQ(copy->frameMasks, prototype->frameMasks);
    EXPECT_EQ(copy->frameWidth, 20);
    EXPECT_EQ(copy->frameHeight, 33);
    EXPECT_EQ(copy->level, someLevel);
    EXPECT_EQ(copy->renderer, &renderer);
    EXPECT_TRUE(copy->sharesFrames);
    EXPECT_EQ(copy->frameIndex, 0);
    EXPECT_EQ(copy->frameTicks, 0);
    EXPECT_EQ(RenderLog::texturesMade, 3 + 2);  // the level's two tiles included

    // Destroying the copy leaves the prototype's masks whole: a second copy still collides with it.
    delete copy;
    prototype->frameIndex = 0;
    Probe other;
    other.copyFramesFrom(*prototype);
    other.x = 9.0;  // columns 9-13 against the prototype's 7-11
    EXPECT_TRUE(prototype->collidesWith(other));
    EXPECT_EQ(rowOf(prototype->frameMasks[1], 10), ".....#####..........");

    // Each mask is freed exactly once (AddressSanitizer reports a second free).
    delete prototype;
    delete someLevel;
}

TEST_F(SpriteFrames, AMissingPictureLeavesNoFramesIsNotDrawnAndNeverCollides)
{
    Probe lost;
    load(lost, dir.path() + "/nowhere.bmp", 3);
    EXPECT_TRUE(lost.frameTextures.empty());
    EXPECT_TRUE(lost.frameMasks.empty());
    EXPECT_EQ(lost.frameWidth, 0);
    EXPECT_EQ(lost.frameHeight, 0);
    EXPECT_EQ(lost.frameCount, 3);
    EXPECT_EQ(RenderLog::texturesMade, 0);

    lost.draw();
    EXPECT_TRUE(RenderLog::quads.empty());

    Probe solid;
    load(solid, writeStrip(dir, "solid.bmp", 10, 10, 1), 1);
    EXPECT_FALSE(lost.collidesWith(solid));
    EXPECT_FALSE(solid.collidesWith(lost));

    Probe lostCopy;
    lostCopy.copyFramesFrom(lost);
    EXPECT_TRUE(lostCopy.frameMasks.empty());
    lostCopy.draw();
    EXPECT_TRUE(RenderLog::quads.empty());
    EXPECT_FALSE(lostCopy.collidesWith(solid));
}

TEST_F(SpriteFrames, DrawingPlacesTheCurrentFrameAtItsUnroundedScreenPosition)
{
    Probe sprite;
    load(sprite, writeBandedPicture(dir), 3);
    Level* level = makeLevel(&renderer, 40, 30);
    setScroll(*level, 10.25, 3.5);
    sprite.level = level;
    sprite.x = 50.5;
    sprite.y = 20.0;
    sprite.frameIndex = 1;
    RenderLog::clear();

    sprite.draw();
    ASSERT_EQ(RenderLog::quads.size(), 1u);
    EXPECT_EQ(RenderLog::describe(RenderLog::quads[0]), "40.25,16.5 20x33 #" + std::to_string(sprite.frameTextures[1]));
    delete level;
}

class SpriteCollision : public SpriteFrames {
protected:
    void SetUp() override
    {
        SpriteFrames::SetUp();
        std::string solid = writeStrip(dir, "solid.bmp", 10, 10, 1);
        load(a, solid, 1);
        load(b, solid, 1);
    }

    Probe a;
    Probe b;
};

TEST_F(SpriteCollision, SpritesTouchingEdgeToEdgeDoNotCollide)
{
    b.x = 10.0;
    EXPECT_FALSE(a.collidesWith(b));
    EXPECT_FALSE(b.collidesWith(a));
    b.x = 9.0;
    EXPECT_TRUE(a.collidesWith(b));
    b.x = 0.0;
    b.y = 10.0;
    EXPECT_FALSE(a.collidesWith(b));
    b.y = 9.0;
    EXPECT_TRUE(a.collidesWith(b));
}

TEST_F(SpriteCollision, PositionsAreTruncatedTowardZero)
{
    // 10.9 counts as 10: the boxes 10..19 and 20..29 only touch.
    a.x = 10.9;
    b.x = 20.0;
    EXPECT_FALSE(a.collidesWith(b));
    EXPECT_FALSE(b.collidesWith(a));
    a.x = 11.0;
    EXPECT_TRUE(a.collidesWith(b));

    // -0.7 counts as 0, not -1: the box -10..-1 is only touched.
    a.x = -0.7;
    b.x = -10.0;
    EXPECT_FALSE(a.collidesWith(b));
    EXPECT_FALSE(b.collidesWith(a));
    a.x = -1.0;
    EXPECT_TRUE(a.collidesWith(b));

    a.x = 0.0;
    b.x = 0.0;
    a.y = -0.7;
    b.y = -10.0;
    EXPECT_FALSE(a.collidesWith(b));
    b.y = 10.0;
    a.y = 0.9;
    EXPECT_FALSE(a.collidesWith(b));
}

TEST_F(SpriteCollision, EachSpriteIsTestedWithItsOwnCurrentFrame)
{
    Probe c;
    Probe d;
    load(c, writeHalvesPicture(dir), 2);
    d.copyFramesFrom(c);
    c.x = 0.0;
    d.x = 5.0;  // d's left half lies over c's right half

    const bool expected[2][2] = {{false, false}, {true, false}};  // [c's frame][d's frame]
    for (int cf = 0; cf < 2; ++cf) {
        for (int df = 0; df < 2; ++df) {
            c.frameIndex = (uint8_t)cf;
            d.frameIndex = (uint8_t)df;
            EXPECT_EQ(c.collidesWith(d), expected[cf][df]) << "c frame " << cf << ", d frame " << df;
            EXPECT_EQ(d.collidesWith(c), expected[cf][df]) << "c frame " << cf << ", d frame " << df;
        }
    }
}
