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

// The assembled game's ship: 24 x 12, two frames, speed 2, a shot every more than 5 ticks.
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
    size_t shots() const { return world.game.playerShots.size(); }

    HeldKeys keys;
    AssembledGame world;
    Player& ship;
};

}  // namespace

TEST_F(Ship, AWaitingShipAsksForALifeAndItsEntryFromLeftOfTheScreenTakesSixtyEightStepsUnsteered)
{
    keys.press(KEY_UP);
    keys.press(KEY_SPACE);
    EXPECT_EQ(ship.update(1), 1);
    EXPECT_EQ(ship.state, Waiting);
    EXPECT_DOUBLE_EQ(ship.x, 100.0);
    setScroll(*world.game.level, 55.5, 20.0);
    ship.y = 130.0;
    ship.lastScrollX = 55.5;
    ship.respawn(4321);
    EXPECT_EQ(ship.state, Entering);
    EXPECT_DOUBLE_EQ(ship.x, 25.5);  // 30 left of the screen
    EXPECT_DOUBLE_EQ(ship.y, 130.0);

    world.game.ticks = 4321;
    for (int step = 1; step <= 68; ++step) {
        ASSERT_EQ(ship.update(1), 0);
        ASSERT_EQ(ship.state, Entering) << "step " << step;
        ASSERT_DOUBLE_EQ(ship.x, 25.5 + 2.0 * step);
    }
    EXPECT_DOUBLE_EQ(ship.y, 130.0);
    EXPECT_EQ(ship.frameIndex, 0);
    EXPECT_EQ(shots(), 0u);
    // At 106 right of the screen's edge the ship is protected, and steered in the same step.
    ship.update(1);
    EXPECT_EQ(ship.state, Protected);
    EXPECT_DOUBLE_EQ(ship.x, 55.5 + 106.0);
    EXPECT_DOUBLE_EQ(ship.y, 128.0);
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

TEST_F(Ship, HoldingFireShootsOnceMoreThanFiveTicksHaveGatheredFromTheMiddleOfTheRightEdge)
{
    keys.press(KEY_SPACE);
    place(Flying, 100.0, 100.0);
    ship.x = 140.7;
    ship.y = 130.9;
    for (int step = 1; step <= 12; ++step) {
        ship.update(1);
        EXPECT_EQ(shots(), step < 6 ? 0u : step < 12 ? 1u : 2u) << "step " << step;
    }
    ASSERT_EQ(shots(), 2u);
    Shot* shot = world.game.playerShots.front();
    EXPECT_DOUBLE_EQ(shot->x, 164.0);  // 140.7 + 24, truncated
    EXPECT_DOUBLE_EQ(shot->y, 136.0);  // 130.9 + 12 / 2, truncated
    EXPECT_EQ(shot->directionX, 1);
    EXPECT_EQ(shot->frameMasks, world.game.shotPrototypes[0]->frameMasks);

    // Ticks count whole frames; an odd frame height is halved to the whole number below.
    ship.frameHeight = 13;
    ship.update(3);
    EXPECT_EQ(shots(), 2u);
    ship.update(3);
    ASSERT_EQ(shots(), 3u);
    EXPECT_DOUBLE_EQ(world.game.playerShots.back()->y, 136.0);  // 130.9 + 6 = 136.9, truncated
}

TEST_F(Ship, AProtectedShipCannotFireUntilMoreThanTwoHundredTicksAfterTheRespawn)
{
    keys.press(KEY_SPACE);
    place(Protected, 106.0, 100.0);
    ship.respawnTick = 1000;
    world.game.ticks = 1150;
    for (int step = 0; step < 10; ++step)
        ship.update(1);
    world.game.ticks = 1200;
    ship.update(1);
    EXPECT_EQ(ship.state, Protected);
    EXPECT_EQ(shots(), 0u);
    world.game.ticks = 1201;
    ship.update(1);
    EXPECT_EQ(ship.state, Flying);
    EXPECT_EQ(shots(), 1u);
}

TEST_F(Ship, AnExplodingShipShowsOnlyItsExplosionAndStaysBehindTheScrollUntilItsRespawn)
{
    keys.press(KEY_RIGHT);
    place(Exploding, 100.0, 100.0);
    ship.explosion->x = 136.0;
    ship.explosion->y = 120.0;
    world.game.level->mainTileset->scrollX = 59.2;
    for (int tick = 1; tick <= 95; ++tick)
        ASSERT_EQ(ship.update(1), 0) << "tick " << tick;
    EXPECT_DOUBLE_EQ(ship.x, 140.0);
    ship.draw();
    ASSERT_EQ(RenderLog::quads.size(), 1u);
    EXPECT_EQ(RenderLog::describe(RenderLog::quads[0]),
              "76.8,90 32x32 #" + std::to_string(ship.explosion->frameTextures[7]) + " alpha 0.9");
    // The fade is for the explosion alone: what is drawn next is opaque white again.
    EXPECT_FLOAT_EQ(RenderLog::red * RenderLog::green * RenderLog::blue * RenderLog::alpha, 1.0f);
    EXPECT_EQ(ship.update(1), 1);
    // The scroll missed during the explosion is made up at the first step of the entry, and only there.
    ship.respawn(500);
    ship.update(1);
    EXPECT_NEAR(ship.x, 59.2 - 30.0 + 19.2 + 2.0, 1e-9);
    ship.update(1);
    EXPECT_NEAR(ship.x, 59.2 - 30.0 + 19.2 + 4.0, 1e-9);
}

// Each row: the state, the frame, and whether the ship is drawn.
TEST_F(Ship, AnEnteringOrProtectedShipShowsOnlyEveryThirdFrame)
{
    Player strip;
    world.loadStrip(strip, 24, 12, 4);
    strip.x = 100.5;
    strip.y = 60.25;
    struct Case { PlayerState state; int frame; bool drawn; };
    const Case cases[] = {{Flying, 0, true},     {Flying, 1, true},     {Waiting, 2, true},  {Entering, 0, true},
                          {Entering, 1, false},  {Entering, 2, false},  {Entering, 3, true}, {Protected, 1, false},
                          {Protected, 2, false}, {Protected, 3, true}};
    for (const Case& c : cases) {
        RenderLog::clear();
        strip.state = c.state;
        strip.frameIndex = (uint8_t)c.frame;
        strip.draw();
        std::string expected = "100.5,60.25 24x12 #" + std::to_string(strip.frameTextures[c.frame]);
        EXPECT_EQ(RenderLog::quads.empty() ? "" : RenderLog::describe(RenderLog::quads[0]), c.drawn ? expected : "")
            << "state " << int(c.state) << " frame " << c.frame;
    }
}
