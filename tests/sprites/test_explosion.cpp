#include <gtest/gtest.h>

#include <memory>

#include "core/TestWorld.h"
#include "sprites/Explosion.h"

namespace {

// The game's explosions, 8 frames of 32 x 32 and 7 of 24 x 24, in a level scrolled to (200, 30).
class Explosions : public testing::Test {
protected:
    Explosions() : world(60, 40) { setScroll(*world.game.level, 200.0, 30.0); }

    // A copy of explosion kind placed on the screen at (sx, 100).
    std::unique_ptr<Explosion> startedAt(int kind, double sx)
    {
        std::unique_ptr<Explosion> explosion(world.game.explosionPrototypes[kind]->makeCopy());
        explosion->x = 200.0 + sx;
        explosion->y = 130.0;
        return explosion;
    }

    AssembledGame world;
};

}  // namespace

TEST_F(Explosions, AnExplosionShowsEachFrameTwelveTicksThenEndsAndCanBeReplayed)
{
    std::unique_ptr<Explosion> explosion = startedAt(0, 100.0);
    for (int round = 0; round < 2; ++round) {
        for (int tick = 1; tick <= 95; ++tick) {
            ASSERT_EQ(explosion->update(1), 0) << "tick " << tick;
            ASSERT_EQ(explosion->frameIndex, tick / 12) << "tick " << tick;
        }
        EXPECT_EQ(explosion->update(1), 1);
        EXPECT_EQ(explosion->frameIndex, 0);
    }
    std::unique_ptr<Explosion> seven = startedAt(1, 100.0);
    EXPECT_EQ(seven->update(83), 0);
    EXPECT_EQ(seven->update(1), 1);
    EXPECT_EQ(seven->update(84), 1);
}

// Each row: the screen x of a 32 wide explosion, and whether it has left the screen.
TEST_F(Explosions, AnExplosionLeavingTheScreenSidewaysEndsAtOnce)
{
    struct Case { double sx; int result; } cases[] = {
        {320.0, 0}, {320.9, 0}, {321.0, 1}, {-32.0, 0}, {-32.5, 0}, {-33.0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(startedAt(0, c.sx)->update(1), c.result) << "screen x " << c.sx;
}
