#include <gtest/gtest.h>

#include <memory>

#include "core/TestWorld.h"
#include "headless/RenderLog.h"
#include "headless/ScratchFiles.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "render/Renderer.h"
#include "sprites/Shot.h"

namespace {

class Shots : public testing::Test {
protected:
    void SetUp() override
    {
        RenderLog::clear();
        level.reset(makeLevel(&renderer, 60, 40));
        prototype.renderer = &renderer;
        prototype.level = level.get();
        prototype.sharesFrames = false;
        prototype.frameCount = 1;
        prototype.loadFrames(writeStrip(dir, "shoot.bmp", 10, 4, 1).c_str());
        prototype.speed = 5.0;
        prototype.directionX = 1;
        prototype.directionY = 0;
        prototype.fireDelay = 5;
    }

    // A fired shot whose top-left corner lands on screen position (sx, sy) after one step.
    std::unique_ptr<Shot> shotLandingAt(double sx, double sy)
    {
        std::unique_ptr<Shot> shot(prototype.makeCopy());
        shot->x = level->mainTileset->scrollX + sx - 5.0;
        shot->y = level->mainTileset->scrollY + sy;
        return shot;
    }

    TempDir dir;
    Renderer renderer;
    std::unique_ptr<Level> level;
    Shot prototype;
};

}  // namespace

TEST_F(Shots, ACopySharesTheFramesAndTakesTheDirectionsDelayAndWholeSpeed)
{
    prototype.speed = 5.7;
    prototype.directionY = 2;
    prototype.fireDelay = 9;
    std::unique_ptr<Shot> shot(prototype.makeCopy());
    EXPECT_EQ(shot->speed, 5.0);
    EXPECT_EQ(shot->directionX, 1);
    EXPECT_EQ(shot->directionY, 2);
    EXPECT_EQ(shot->fireDelay, 9);
    EXPECT_TRUE(shot->sharesFrames);
    EXPECT_EQ(shot->frameMasks, prototype.frameMasks);
    EXPECT_EQ(shot->frameTextures, prototype.frameTextures);
    EXPECT_EQ(shot->frameWidth, 10);
    EXPECT_EQ(shot->frameHeight, 4);
    EXPECT_EQ(shot->level, level.get());
    EXPECT_EQ(shot->renderer, &renderer);
}

TEST_F(Shots, AShotMovesFivePixelsAStepWhateverTheTicks)
{
    std::unique_ptr<Shot> shot(prototype.makeCopy());
    shot->setPosition(40, 30);
    const int ticks[3] = {0, 1, 100};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(shot->update(ticks[i]), 0);
        EXPECT_DOUBLE_EQ(shot->x, 45.0 + 5.0 * i);
        EXPECT_DOUBLE_EQ(shot->y, 30.0);
    }
}

TEST_F(Shots, AShotLeavesOnlyWhenItsTruncatedCornerPassesTheScreenEdge)
{
    setScroll(*level, 100.0, 50.0);
    struct Case {
        double sx, sy;
        int result;
    } cases[] = {
        {320.0, 100.0, 0}, {320.5, 100.0, 0}, {321.0, 100.0, 1}, {-0.5, 100.0, 0}, {-1.0, 100.0, 1},
        {100.0, 240.0, 0}, {100.0, 240.9, 0}, {100.0, 241.0, 1}, {100.0, -0.5, 0}, {100.0, -1.0, 1},
        // only the corner counts: the shot's body may stick out on the right and at the bottom
        {315.0, 238.0, 0},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Shot> shot = shotLandingAt(c.sx, c.sy);
        EXPECT_EQ(shot->update(1), c.result) << "screen position (" << c.sx << ", " << c.sy << ")";
    }
}
