#include <gtest/gtest.h>

#include <memory>

#include "core/TestWorld.h"
#include "sprites/Shot.h"

namespace {

// The game's shot, 10 x 4, flying right at 5 pixels a step, in a level scrolled to (100, 50).
class Shots : public testing::Test {
protected:
    Shots() : world(60, 40), prototype(*world.game.shotPrototypes[0]) { setScroll(*world.game.level, 100.0, 50.0); }

    AssembledGame world;
    Shot& prototype;
};

}  // namespace

TEST_F(Shots, ACopyTakesTheDirectionsDelayAndWholeSpeedAndMovesByThemEachStepWhateverTheTicks)
{
    prototype.speed = 5.7;
    prototype.directionY = 2;
    prototype.fireDelay = 9;
    std::unique_ptr<Shot> shot(prototype.makeCopy());
    EXPECT_EQ(shot->fireDelay, 9);
    shot->setPosition(140, 80);
    const int ticks[3] = {0, 1, 100};
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(shot->update(ticks[i - 1]), 0);
        EXPECT_DOUBLE_EQ(shot->x, 140.0 + 5.0 * i);
        EXPECT_DOUBLE_EQ(shot->y, 80.0 + 10.0 * i);
    }
}

// Each row: where a step puts the shot's top-left corner on the screen, and whether it has left.
TEST_F(Shots, AShotLeavesOnlyWhenItsTruncatedCornerPassesTheScreenEdge)
{
    struct Case { double sx, sy; int result; } cases[] = {
        {320.0, 100.0, 0}, {320.5, 100.0, 0}, {321.0, 100.0, 1}, {-0.5, 100.0, 0}, {-1.0, 100.0, 1},
        {100.0, 240.0, 0}, {100.0, 240.9, 0}, {100.0, 241.0, 1}, {100.0, -0.5, 0}, {100.0, -1.0, 1},
        // only the corner counts: the shot's body may stick out on the right and at the bottom
        {315.0, 238.0, 0},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Shot> shot(prototype.makeCopy());
        shot->x = 100.0 + c.sx - 5.0;
        shot->y = 50.0 + c.sy;
        EXPECT_EQ(shot->update(1), c.result) << "screen position (" << c.sx << ", " << c.sy << ")";
    }
}
