#include <allegro.h>
#include <gtest/gtest.h>

#include "aliens/HomingAlien.h"
#include "core/Game.h"
#include "core/TestWorld.h"
#include "headless/RenderLog.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "sprites/Explosion.h"
#include "sprites/Player.h"
#include "sprites/Shot.h"

namespace {

class GameLoop : public testing::Test {
protected:
    GameLoop() : ship(world.ship()) { RenderLog::clear(); }

    // One frame in which `ticks` timer ticks arrived.
    bool frameAfter(int ticks)
    {
        world.game.ticks += ticks;
        world.game.pendingTicks += ticks;
        return world.game.runFrame();
    }

    void fly(double x, double y)
    {
        ship.state = Flying;
        ship.x = x;
        ship.y = y;
        ship.lastScrollX = 0.0;
    }

    HeldKeys keys;
    AssembledGame world;
    Player& ship;
};

}  // namespace

TEST_F(GameLoop, StartingTheLoopResetsTheFrameCountersButNotTheTicks)
{
    world.game.ticks = 777;
    world.game.pendingTicks = 7;
    world.game.lastFrameTicks = 3;
    world.game.elapsedTicks = 9;
    world.game.startLoop();
    EXPECT_EQ(world.game.ticks.load(), 777);
    EXPECT_EQ(world.game.pendingTicks.load(), 0);
    EXPECT_EQ(world.game.lastFrameTicks, 0);
    EXPECT_EQ(world.game.elapsedTicks, 0);
}

TEST_F(GameLoop, AFrameWithoutTicksRunsNoStepButIsStillDrawn)
{
    Shot* shot = world.placeShot(50.0, 50.0);
    world.game.startLoop();
    EXPECT_TRUE(world.game.runFrame());
    EXPECT_EQ(ship.state, Waiting);
    EXPECT_EQ(world.game.lives, 5);
    EXPECT_DOUBLE_EQ(shot->x, 50.0);
    EXPECT_EQ(RenderLog::framesBegun, 1);
    EXPECT_EQ(RenderLog::framesEnded, 1);
    ASSERT_EQ(RenderLog::lives.size(), 1u);
    EXPECT_EQ(RenderLog::lives[0], 5);
}

TEST_F(GameLoop, EachStepOfAFrameGetsTheTicksOfTheWholeFrame)
{
    fly(100.0, 100.0);
    Shot* shot = world.placeShot(50.0, 50.0);
    world.game.startLoop();
    EXPECT_TRUE(frameAfter(3));
    EXPECT_EQ(world.game.elapsedTicks, 3);
    EXPECT_EQ(world.game.stepsLeft, 0);
    EXPECT_EQ(world.game.pendingTicks.load(), 0);
    EXPECT_EQ(world.game.lastFrameTicks, 3);
    EXPECT_DOUBLE_EQ(shot->x, 65.0);  // three steps of 5
    EXPECT_EQ(ship.fireTicks, 9);     // three steps of 3 ticks
    EXPECT_EQ(ship.frameTicks, 9);

    EXPECT_TRUE(frameAfter(1));
    EXPECT_EQ(world.game.elapsedTicks, 1);
    EXPECT_DOUBLE_EQ(shot->x, 70.0);
    EXPECT_EQ(ship.fireTicks, 10);
}

TEST_F(GameLoop, TheFirstFrameCountsEveryTickSinceSetUp)
{
    fly(100.0, 100.0);
    world.game.ticks = 5000;
    world.game.startLoop();
    world.game.pendingTicks = 2;
    world.game.runFrame();
    EXPECT_EQ(world.game.elapsedTicks, 5000);
    EXPECT_EQ(ship.fireTicks, 10000);
}

TEST_F(GameLoop, TheFrameRateIsCountedOverMoreThanAHundredTicks)
{
    world.game.startLoop();
    const int ticks[] = {0, 0, 0, 100, 101, 150, 201, 202};
    const char* shown[] = {"", "", "", "", "5FPS", "5FPS", "5FPS", "3FPS"};
    for (int i = 0; i < 8; ++i) {
        world.game.ticks = ticks[i];
        world.game.runFrame();
        ASSERT_EQ(RenderLog::texts.size(), size_t(i + 1));
        EXPECT_EQ(RenderLog::texts.back().text, shown[i]) << "frame at tick " << ticks[i];
    }
}

TEST_F(GameLoop, TheFrameRateCanShowOnTheVeryFirstFrame)
{
    world.game.ticks = 4000;
    world.game.startLoop();
    world.game.runFrame();
    ASSERT_EQ(RenderLog::texts.size(), 1u);
    EXPECT_EQ(RenderLog::texts[0].text, "1FPS");
}

TEST_F(GameLoop, TheTextGoesToTheBottomLeftInTheSmallFontAndTheLivesFollowIt)
{
    world.game.startLoop();
    world.game.runFrame();
    ASSERT_EQ(RenderLog::texts.size(), 1u);
    EXPECT_FLOAT_EQ(RenderLog::texts[0].x, 16.0f);
    EXPECT_FLOAT_EQ(RenderLog::texts[0].y, 16.0f);
    EXPECT_EQ(RenderLog::texts[0].characterSet, 0);
    EXPECT_EQ(RenderLog::lives, std::vector<int>{5});
}

TEST_F(GameLoop, AFrameDrawsTheMapThenTheShipTheShotsAndTheAliens)
{
    fly(100.0, 100.0);
    world.placeShot(50.0, 50.0);
    HomingAlien* alien = world.placeAlien(200, 60);
    alien->activity = Active;
    world.game.startLoop();
    world.game.runFrame();

    const size_t cells = 20 * 15;
    ASSERT_EQ(RenderLog::quads.size(), cells + 3);
    for (size_t i = 0; i < cells; ++i)
        ASSERT_EQ(RenderLog::quads[i].width, 16) << "quad " << i;
    EXPECT_EQ(RenderLog::quads[cells].texture, ship.frameTextures[0]);
    EXPECT_DOUBLE_EQ(RenderLog::quads[cells].x, 100.0);
    EXPECT_EQ(RenderLog::quads[cells + 1].texture, world.game.shotPrototypes[0]->frameTextures[0]);
    EXPECT_EQ(RenderLog::quads[cells + 2].texture, world.game.alienPrototypes[0]->frameTextures[0]);
}

TEST_F(GameLoop, TheFirstStepTakesALifeAndBringsTheShipIn)
{
    world.game.startLoop();
    EXPECT_TRUE(frameAfter(1));
    EXPECT_EQ(world.game.lives, 4);
    EXPECT_EQ(ship.state, Entering);
    EXPECT_EQ(ship.respawnTick, 1);
    EXPECT_DOUBLE_EQ(ship.x, -30.0);
    EXPECT_DOUBLE_EQ(ship.y, 100.0);
    EXPECT_EQ(RenderLog::lives, std::vector<int>{4});

    EXPECT_TRUE(frameAfter(1));
    EXPECT_EQ(world.game.lives, 4);
    EXPECT_DOUBLE_EQ(ship.x, -28.0);
}

TEST_F(GameLoop, AFlyingShipThatTouchesTheTerrainCostsALifeWhenItsExplosionEnds)
{
    setCell(*world.game.level, 7, 6, 1);  // under the ship's right half
    fly(100.0, 100.0);
    world.game.lives = 4;
    world.game.startLoop();
    frameAfter(1);
    EXPECT_EQ(ship.state, Exploding);
    EXPECT_DOUBLE_EQ(ship.explosion->x, 96.0);
    EXPECT_DOUBLE_EQ(ship.explosion->y, 90.0);
    EXPECT_EQ(ship.explosion->frameTicks, 0);
    for (int frame = 1; frame <= 95; ++frame) {
        frameAfter(1);
        ASSERT_EQ(world.game.lives, 4) << "frame " << frame;
        ASSERT_EQ(ship.state, Exploding) << "frame " << frame;
    }
    frameAfter(1);
    EXPECT_EQ(world.game.lives, 3);
    EXPECT_EQ(ship.state, Entering);
    EXPECT_DOUBLE_EQ(ship.x, -30.0);
    EXPECT_DOUBLE_EQ(ship.y, 100.0);
    EXPECT_EQ(ship.respawnTick, world.game.ticks.load());
}

TEST_F(GameLoop, AShipThatIsNotFlyingPassesThroughTheTerrain)
{
    setCell(*world.game.level, 7, 6, 1);
    fly(100.0, 100.0);
    ship.state = Protected;
    ship.respawnTick = 0;
    world.game.startLoop();
    frameAfter(1);
    EXPECT_EQ(ship.state, Protected);

    ship.state = Entering;
    ship.x = 50.0;
    setCell(*world.game.level, 3, 6, 1);
    setCell(*world.game.level, 4, 6, 1);
    frameAfter(1);
    EXPECT_EQ(ship.state, Entering);
}

TEST_F(GameLoop, TheLoopEndsAfterTheFrameInWhichTheLastLifeIsTaken)
{
    fly(100.0, 100.0);
    world.game.lives = 0;
    world.game.startLoop();
    EXPECT_TRUE(frameAfter(1));

    ship.state = Exploding;
    ship.explosion->frameTicks = 94;
    EXPECT_TRUE(frameAfter(1));
    EXPECT_EQ(world.game.lives, 0);
    EXPECT_FALSE(frameAfter(1));
    EXPECT_EQ(world.game.lives, -1);
    EXPECT_EQ(RenderLog::framesEnded, 3);
    EXPECT_EQ(RenderLog::lives.back(), -1);
}

TEST_F(GameLoop, HoldingEscapeEndsTheLoopAfterTheFrameIsShown)
{
    world.game.startLoop();
    keys.press(KEY_ESC);
    EXPECT_FALSE(frameAfter(1));
    EXPECT_EQ(RenderLog::framesEnded, 1);
    keys.release(KEY_ESC);
    EXPECT_TRUE(frameAfter(1));
}

TEST_F(GameLoop, AnExplosionIsCentredOnTheSpriteWithIntegerHalving)
{
    ship.x = 100.7;
    ship.y = 50.2;
    ship.explosion->frameTicks = 30;
    ship.explosion->frameIndex = 2;
    world.game.startExplosion(ship, *ship.explosion);
    EXPECT_DOUBLE_EQ(ship.explosion->x, 96.0);  // 100.7 + (24 - 32) / 2 = 96.7
    EXPECT_DOUBLE_EQ(ship.explosion->y, 40.0);  // 50.2 + (12 - 32) / 2 = 40.2
    EXPECT_EQ(ship.explosion->frameTicks, 30);
    EXPECT_EQ(ship.explosion->frameIndex, 2);

    // Odd, negative differences halve toward zero, and the sums truncate toward zero.
    Explosion odd;
    odd.renderer = &world.renderer;
    odd.frameCount = 2;
    odd.loadFrames(writeStrip(world.dir, "odd.bmp", 25, 25, 2).c_str());
    Shot* shot = world.placeShot(-10.5, 7.9);  // 10 x 4
    world.game.startExplosion(*shot, odd);
    EXPECT_DOUBLE_EQ(odd.x, -17.0);  // -10.5 + (10 - 25) / 2 = -10.5 - 7
    EXPECT_DOUBLE_EQ(odd.y, -2.0);   // 7.9 + (4 - 25) / 2 = 7.9 - 10
}
