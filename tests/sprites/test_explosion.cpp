#include <gtest/gtest.h>

#include <memory>

#include "core/TestWorld.h"
#include "headless/RenderLog.h"
#include "headless/ScratchFiles.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "render/Renderer.h"
#include "sprites/Explosion.h"

namespace {

class Explosions : public testing::Test {
protected:
    void SetUp() override
    {
        RenderLog::clear();
        level.reset(makeLevel(&renderer, 60, 40));
        setScroll(*level, 200.0, 30.0);
        load(boom, writeStrip(dir, "boom.bmp", 32, 32, 8), 8);
        load(boom2, writeStrip(dir, "boom2.bmp", 24, 24, 7), 7);
        load(wide, writeStrip(dir, "wide.bmp", 40, 40, 2), 2);
    }

    void load(Explosion& explosion, const std::string& path, int frames)
    {
        explosion.renderer = &renderer;
        explosion.level = level.get();
        explosion.sharesFrames = false;
        explosion.frameCount = (uint8_t)frames;
        explosion.loadFrames(path.c_str());
    }

    // A copy placed on the screen at (sx, 100).
    std::unique_ptr<Explosion> startedAt(const Explosion& prototype, double sx)
    {
        std::unique_ptr<Explosion> explosion(prototype.makeCopy());
        explosion->x = 200.0 + sx;
        explosion->y = 130.0;
        return explosion;
    }

    TempDir dir;
    Renderer renderer;
    std::unique_ptr<Level> level;
    Explosion boom;
    Explosion boom2;
    Explosion wide;
};

}  // namespace

TEST_F(Explosions, ACopySharesThePrototypesFrames)
{
    std::unique_ptr<Explosion> copy(boom.makeCopy());
    EXPECT_EQ(copy->frameCount, 8);
    EXPECT_EQ(copy->frameMasks, boom.frameMasks);
    EXPECT_EQ(copy->frameTextures, boom.frameTextures);
    EXPECT_EQ(copy->frameWidth, 32);
    EXPECT_EQ(copy->frameHeight, 32);
    EXPECT_TRUE(copy->sharesFrames);
    EXPECT_EQ(copy->level, level.get());
    std::unique_ptr<Explosion> copyOfCopy(copy->makeCopy());
    EXPECT_EQ(copyOfCopy->frameMasks, boom.frameMasks);
}

TEST_F(Explosions, EightFramesFedTwelveTicksEndOnTheEighthUpdateBackAtTheStart)
{
    std::unique_ptr<Explosion> explosion = startedAt(boom, 100.0);
    for (int update = 1; update <= 7; ++update) {
        ASSERT_EQ(explosion->update(12), 0) << "update " << update;
        EXPECT_EQ(explosion->frameIndex, update);
    }
    EXPECT_EQ(explosion->update(12), 1);
    EXPECT_EQ(explosion->frameIndex, 0);
    EXPECT_EQ(explosion->frameTicks, 0);
}

TEST_F(Explosions, EightFramesFedOneTickEndOnTheNinetySixthUpdateAndCanBeReplayed)
{
    std::unique_ptr<Explosion> explosion = startedAt(boom, 100.0);
    for (int round = 0; round < 2; ++round) {
        for (int tick = 1; tick <= 95; ++tick) {
            ASSERT_EQ(explosion->update(1), 0) << "tick " << tick;
            ASSERT_EQ(explosion->frameIndex, tick / 12) << "tick " << tick;
        }
        EXPECT_EQ(explosion->update(1), 1);
        EXPECT_EQ(explosion->frameIndex, 0);
        EXPECT_EQ(explosion->frameTicks, 0);
    }
}

TEST_F(Explosions, SevenFramesEndAfterEightyFourTicks)
{
    std::unique_ptr<Explosion> explosion = startedAt(boom2, 100.0);
    EXPECT_EQ(explosion->update(83), 0);
    EXPECT_EQ(explosion->frameIndex, 6);
    EXPECT_EQ(explosion->update(1), 1);
    EXPECT_EQ(explosion->frameIndex, 0);
    EXPECT_EQ(explosion->frameTicks, 0);

    std::unique_ptr<Explosion> atOnce = startedAt(boom2, 100.0);
    EXPECT_EQ(atOnce->update(84), 1);
}

TEST_F(Explosions, AnExplosionLeavingTheScreenSidewaysEndsAtOnce)
{
    struct Case {
        double sx;
        int result;
    } cases[] = {
        {320.0, 0}, {320.9, 0}, {321.0, 1}, {-40.0, 0}, {-40.5, 0}, {-41.0, 1},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Explosion> explosion = startedAt(wide, c.sx);
        EXPECT_EQ(explosion->update(1), c.result) << "screen x " << c.sx;
        EXPECT_EQ(explosion->frameIndex, 0);
        EXPECT_EQ(explosion->frameTicks, 1) << "screen x " << c.sx;
    }
}

TEST_F(Explosions, AnExplosionPlaysOnAboveAndBelowTheScreen)
{
    std::unique_ptr<Explosion> explosion = startedAt(wide, 100.0);
    explosion->y = 30.0 - 500.0;
    EXPECT_EQ(explosion->update(1), 0);
    explosion->y = 30.0 + 900.0;
    EXPECT_EQ(explosion->update(1), 0);
}

TEST_F(Explosions, DrawingFadesTheFrameAndLeavesTheColourOpaqueWhite)
{
    std::unique_ptr<Explosion> explosion = startedAt(boom, 100.5);
    explosion->update(30);
    RenderLog::clear();
    explosion->draw();
    ASSERT_EQ(RenderLog::quads.size(), 1u);
    EXPECT_EQ(RenderLog::describe(RenderLog::quads[0]),
              "100.5,100 32x32 #" + std::to_string(boom.frameTextures[2]) + " alpha 0.9");
    EXPECT_FLOAT_EQ(RenderLog::red, 1.0f);
    EXPECT_FLOAT_EQ(RenderLog::green, 1.0f);
    EXPECT_FLOAT_EQ(RenderLog::blue, 1.0f);
    EXPECT_FLOAT_EQ(RenderLog::alpha, 1.0f);
}
