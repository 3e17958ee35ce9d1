#include <allegro.h>
#include <gtest/gtest.h>

#include "core/Game.h"
#include "core/TestWorld.h"
#include "headless/RenderLog.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "sprites/Explosion.h"
#include "sprites/Player.h"
#include "sprites/Shot.h"

namespace {

class Ship : public testing::Test {
protected:
    Ship() : world(40, 30), ship(world.ship()) { RenderLog::clear(); }

    // Puts the ship at screen position (sx, sy) of a level scrolled to (40, 30), in state.
    void place(PlayerState state, double sx, double sy)
    {
        setScroll(*world.game.level, 40.0, 30.0);
        ship.lastScrollX = 40.0;
        ship.x = 40.0 + sx;
        ship.y = 30.0 + sy;
        ship.state = state;
        ship.respawnTick = world.game.ticks;
    }

    double screenX() const { return ship.x - 40.0; }
    double screenY() const { return ship.y - 30.0; }

    HeldKeys keys;
    AssembledGame world;
    Player& ship;
};

}  // namespace

TEST_F(Ship, AWaitingShipAsksForALifeWithoutMoving)
{
    EXPECT_EQ(ship.update(1), 1);
    EXPECT_EQ(ship.state, Waiting);
    EXPECT_DOUBLE_EQ(ship.x, 100.0);
    EXPECT_DOUBLE_EQ(ship.y, 100.0);
}

TEST_F(Ship, RespawningStartsAnEntryJustLeftOfTheScreenAtTheSameHeight)
{
    setScroll(*world.game.level, 55.5, 20.0);
    ship.y = 187.0;
    ship.lastScrollX = 3.0;
    ship.fireTicks = 17;
    ship.frameIndex = 1;
    ship.frameTicks = 14;
    ship.respawn(4321);
    EXPECT_EQ(ship.state, Entering);
    EXPECT_EQ(ship.respawnTick, 4321);
    EXPECT_DOUBLE_EQ(ship.x, 25.5);
    EXPECT_DOUBLE_EQ(ship.y, 187.0);
    EXPECT_DOUBLE_EQ(ship.lastScrollX, 3.0);
    EXPECT_EQ(ship.fireTicks, 17);
    EXPECT_EQ(ship.frameIndex, 1);
    EXPECT_EQ(ship.frameTicks, 14);
}

TEST_F(Ship, AnEntryTakesSixtyEightStepsAndIsNeitherSteeredNorAnimated)
{
    keys.press(KEY_UP);
    keys.press(KEY_SPACE);
    place(Entering, -30.0, 100.0);
    ship.fireTicks = 50;
    for (int step = 1; step <= 68; ++step) {
        ASSERT_EQ(ship.update(1), 0);
        ASSERT_EQ(ship.state, Entering) << "step " << step;
        ASSERT_DOUBLE_EQ(screenX(), -30.0 + 2.0 * step);
    }
    EXPECT_DOUBLE_EQ(screenY(), 100.0);
    EXPECT_EQ(ship.frameTicks, 0);
    EXPECT_EQ(ship.fireTicks, 50);
    EXPECT_TRUE(world.game.playerShots.empty());

    // At scrollX + 106 the ship is protected, and steered in the same step.
    EXPECT_EQ(ship.update(1), 0);
    EXPECT_EQ(ship.state, Protected);
    EXPECT_DOUBLE_EQ(screenX(), 106.0);
    EXPECT_DOUBLE_EQ(screenY(), 98.0);
    EXPECT_TRUE(world.game.playerShots.empty());
}

TEST_F(Ship, TheShipFollowsTheHorizontalScroll)
{
    place(Flying, 100.0, 100.0);
    world.game.level->mainTileset->scrollX = 41.5;
    ship.update(1);
    EXPECT_DOUBLE_EQ(ship.x, 141.5);
    EXPECT_DOUBLE_EQ(ship.lastScrollX, 41.5);
}

TEST_F(Ship, AfterAnExplosionTheEntryStartsFurtherRightByTheScrollMissed)
{
    place(Flying, 100.0, 100.0);
    ship.state = Exploding;
    world.game.level->mainTileset->scrollX = 59.2;  // 96 steps of 0.2 during the explosion
    ship.update(1);
    EXPECT_DOUBLE_EQ(ship.x, 140.0);
    EXPECT_DOUBLE_EQ(ship.lastScrollX, 40.0);

    ship.respawn(500);
    EXPECT_NEAR(ship.x, 29.2, 1e-9);
    ship.update(1);
    EXPECT_NEAR(ship.x, 29.2 + 19.2 + 2.0, 1e-9);
    EXPECT_DOUBLE_EQ(ship.lastScrollX, 59.2);
}

TEST_F(Ship, ProtectionEndsOnceMoreThanTwoHundredTicksHavePassedSinceTheRespawn)
{
    place(Protected, 106.0, 100.0);
    ship.respawnTick = 1000;
    world.game.ticks = 1200;
    ship.update(1);
    EXPECT_EQ(ship.state, Protected);
    world.game.ticks = 1201;
    ship.update(1);
    EXPECT_EQ(ship.state, Flying);
}

// Each row: the arrow key held (0 for none), where the ship starts on the screen along that
// key's axis, and where one step leaves it: the screen's edges stop the ship, snapping it onto them.
TEST_F(Ship, TheScreenEdgesStopTheShip)
{
    struct Case { const char* name; int key; double from, to; };
    const Case cases[] = {
        {"up", KEY_UP, 3.0, 1.0},         {"up", KEY_UP, 2.0, 0.0},         {"up", KEY_UP, 1.5, 0.0},
        {"up", KEY_UP, 0.0, 0.0},         {"down", KEY_DOWN, 225.0, 227.0}, {"down", KEY_DOWN, 226.0, 228.0},
        {"down", KEY_DOWN, 226.5, 228.0}, {"down", KEY_DOWN, 227.0, 228.0}, {"down", KEY_DOWN, 228.0, 228.0},
        {"idle", 0, 2.0, 2.0},            {"idle", 0, 1.5, 0.0},            {"idle", 0, 0.5, 0.0},
        {"left", KEY_LEFT, 5.0, 3.0},     {"left", KEY_LEFT, 4.0, 2.0},     {"left", KEY_LEFT, 3.0, 0.0},
        {"right", KEY_RIGHT, 293.0, 295.0}, {"right", KEY_RIGHT, 294.0, 296.0}, {"right", KEY_RIGHT, 294.5, 296.0},
        {"right", KEY_RIGHT, 295.0, 296.0}, {"right", KEY_RIGHT, 296.0, 296.0},
    };
    for (const Case& c : cases) {
        bool vertical = c.key == KEY_UP || c.key == KEY_DOWN;
        if (c.key)
            keys.press(c.key);
        place(Flying, vertical ? 100.0 : c.from, vertical ? c.from : 100.0);
        ship.update(1);
        EXPECT_DOUBLE_EQ(vertical ? screenY() : screenX(), c.to) << c.name << " from " << c.from;
        if (c.key)
            keys.release(c.key);
    }
}

TEST_F(Ship, OppositeKeysHeldTogetherApplyUpThenDownAndLeftThenRight)
{
    keys.press(KEY_UP);
    keys.press(KEY_DOWN);
    keys.press(KEY_LEFT);
    keys.press(KEY_RIGHT);
    place(Protected, 100.0, 100.0);
    ship.respawnTick = 0;
    ship.update(1);
    EXPECT_DOUBLE_EQ(screenX(), 100.0);
    EXPECT_DOUBLE_EQ(screenY(), 100.0);

    place(Flying, 1.0, 1.0);  // up snaps to 0, then down adds 2; left snaps to 0, then right adds 2
    ship.update(1);
    EXPECT_DOUBLE_EQ(screenX(), 2.0);
    EXPECT_DOUBLE_EQ(screenY(), 2.0);

    place(Flying, 295.0, 227.0);
    ship.update(1);
    EXPECT_DOUBLE_EQ(screenX(), 295.0);
    EXPECT_DOUBLE_EQ(screenY(), 227.0);
}

TEST_F(Ship, HoldingFireShootsWhenMoreThanFiveTicksHaveGatheredFromTheRightEdgeMiddle)
{
    keys.press(KEY_SPACE);
    place(Flying, 100.0, 100.0);
    ship.x = 140.7;
    ship.y = 130.9;
    ship.fireTicks = 0;
    for (int step = 1; step <= 12; ++step) {
        ship.update(1);
        EXPECT_EQ(world.game.playerShots.size(), step < 6 ? 0u : step < 12 ? 1u : 2u) << "step " << step;
    }
    EXPECT_EQ(ship.fireTicks, 0);
    ASSERT_EQ(world.game.playerShots.size(), 2u);
    Shot* shot = world.game.playerShots.front();
    EXPECT_DOUBLE_EQ(shot->x, 164.0);  // 140.7 + 24, truncated
    EXPECT_DOUBLE_EQ(shot->y, 136.0);  // 130.9 + 12 / 2, truncated
    EXPECT_EQ(shot->speed, 5.0);
    EXPECT_EQ(shot->directionX, 1);
    EXPECT_EQ(shot->directionY, 0);
    EXPECT_TRUE(shot->sharesFrames);
    EXPECT_EQ(shot->frameMasks, world.game.shotPrototypes[0]->frameMasks);
    EXPECT_EQ(shot->level, world.game.level);
}

TEST_F(Ship, FiringCountsTheTicksOfTheWholeFrame)
{
    keys.press(KEY_SPACE);
    place(Flying, 100.0, 100.0);
    ship.update(3);
    EXPECT_TRUE(world.game.playerShots.empty());
    EXPECT_EQ(ship.fireTicks, 3);
    ship.update(3);
    EXPECT_EQ(world.game.playerShots.size(), 1u);
    EXPECT_EQ(ship.fireTicks, 0);
}

TEST_F(Ship, AShotStartsAtTheTruncatedHalfOfAnOddFrameHeight)
{
    keys.press(KEY_SPACE);
    Player tall;
    tall.renderer = &world.renderer;
    tall.level = world.game.level;
    tall.frameCount = 2;
    tall.loadFrames(writeStrip(world.dir, "tall.bmp", 20, 13, 2).c_str());
    tall.speed = 2.0;
    tall.game = &world.game;
    tall.shotPrototype = world.game.shotPrototypes[0];
    tall.explosion = nullptr;
    tall.state = Flying;
    tall.lastScrollX = 0.0;
    tall.fireTicks = 6;
    tall.x = 50.0;
    tall.y = 80.9;
    tall.update(1);
    ASSERT_EQ(world.game.playerShots.size(), 1u);
    EXPECT_DOUBLE_EQ(world.game.playerShots.front()->x, 70.0);
    EXPECT_DOUBLE_EQ(world.game.playerShots.front()->y, 86.0);  // 80.9 + 6 = 86.9, truncated
}

TEST_F(Ship, ShotsTakeTheWholeNumberOfThePrototypeSpeed)
{
    keys.press(KEY_SPACE);
    world.game.shotPrototypes[0]->speed = 5.7;
    place(Flying, 100.0, 100.0);
    ship.fireTicks = 10;
    ship.update(1);
    ASSERT_EQ(world.game.playerShots.size(), 1u);
    EXPECT_EQ(world.game.playerShots.front()->speed, 5.0);
}

TEST_F(Ship, AProtectedShipCannotFireButGathersTicksAndFiresAsSoonAsProtectionEnds)
{
    keys.press(KEY_SPACE);
    place(Protected, 106.0, 100.0);
    ship.respawnTick = 0;
    ship.fireTicks = 0;
    world.game.ticks = 150;
    for (int step = 0; step < 10; ++step)
        ship.update(1);
    EXPECT_TRUE(world.game.playerShots.empty());
    EXPECT_EQ(ship.fireTicks, 10);

    world.game.ticks = 201;
    ship.update(1);
    EXPECT_EQ(ship.state, Flying);
    EXPECT_EQ(world.game.playerShots.size(), 1u);
}

TEST_F(Ship, TheShipAnimatesTwelveTicksAFrameAndLoops)
{
    place(Flying, 100.0, 100.0);
    ship.update(11);
    EXPECT_EQ(ship.frameIndex, 0);
    ship.update(1);
    EXPECT_EQ(ship.frameIndex, 1);
    EXPECT_EQ(ship.frameTicks, 12);
    ship.update(11);
    EXPECT_EQ(ship.frameIndex, 1);
    ship.update(1);
    EXPECT_EQ(ship.frameIndex, 0);
    EXPECT_EQ(ship.frameTicks, 0);
}

TEST_F(Ship, AnExplodingShipPlaysItsExplosionAndIsNotMoved)
{
    keys.press(KEY_RIGHT);
    place(Exploding, 100.0, 100.0);
    ship.explosion->x = 136.0;
    ship.explosion->y = 120.0;
    world.game.level->mainTileset->scrollX = 45.0;
    for (int tick = 1; tick <= 95; ++tick)
        ASSERT_EQ(ship.update(1), 0) << "tick " << tick;
    EXPECT_DOUBLE_EQ(ship.x, 140.0);
    EXPECT_DOUBLE_EQ(ship.lastScrollX, 40.0);
    EXPECT_EQ(ship.explosion->frameIndex, 7);
    EXPECT_EQ(ship.update(1), 1);
    EXPECT_EQ(ship.explosion->frameIndex, 0);
}

TEST_F(Ship, AnExplodingShipDrawsOnlyItsExplosion)
{
    place(Exploding, 100.0, 100.0);
    ship.explosion->x = 136.0;
    ship.explosion->y = 120.0;
    ship.explosion->frameIndex = 3;
    ship.draw();
    ASSERT_EQ(RenderLog::quads.size(), 1u);
    EXPECT_EQ(RenderLog::describe(RenderLog::quads[0]),
              "96,90 32x32 #" + std::to_string(ship.explosion->frameTextures[3]) + " alpha 0.9");
    EXPECT_FLOAT_EQ(RenderLog::alpha, 1.0f);
}

TEST_F(Ship, AFlyingOrWaitingShipIsAlwaysDrawn)
{
    const PlayerState states[] = {Flying, Waiting};
    for (PlayerState state : states) {
        for (int frame = 0; frame < 2; ++frame) {
            RenderLog::clear();
            place(state, 100.5, 60.25);
            ship.frameIndex = (uint8_t)frame;
            ship.draw();
            ASSERT_EQ(RenderLog::quads.size(), 1u);
            EXPECT_EQ(RenderLog::describe(RenderLog::quads[0]),
                      "100.5,60.25 24x12 #" + std::to_string(ship.frameTextures[frame]));
        }
    }
}

TEST_F(Ship, AnEnteringOrProtectedShipBlinksOnFramesThatAreMultiplesOfThree)
{
    Player strip;
    strip.renderer = &world.renderer;
    strip.level = world.game.level;
    strip.frameCount = 4;
    strip.loadFrames(writeStrip(world.dir, "strip.bmp", 24, 12, 4).c_str());
    strip.explosion = nullptr;
    const PlayerState states[] = {Entering, Protected};
    const bool shown[4] = {true, false, false, true};
    for (PlayerState state : states) {
        for (int frame = 0; frame < 4; ++frame) {
            RenderLog::clear();
            strip.state = state;
            strip.frameIndex = (uint8_t)frame;
            strip.draw();
            EXPECT_EQ(RenderLog::quads.size(), shown[frame] ? 1u : 0u) << "state " << int(state) << " frame " << frame;
        }
    }
}
