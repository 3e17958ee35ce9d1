#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "aliens/HomingAlien.h"
#include "core/TestWorld.h"
#include "headless/RenderLog.h"
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
        game.ticks += ticks;
        game.pendingTicks += ticks;
        return game.runFrame();
    }

    std::vector<double> shotsX() const
    {
        std::vector<double> xs;
        for (const Shot* shot : game.playerShots)
            xs.push_back(shot->x);
        return xs;
    }

    HeldKeys keys;
    AssembledGame world;
    Game& game = world.game;
    Player& ship;
};

// Each logic step's collision passes: shots, aliens, the ship and the terrain.
class Passes : public GameLoop {};

}  // namespace

TEST_F(GameLoop, AFrameRunsOneStepPerTickAndEachStepGetsTheTicksSinceTheLastFrame)
{
    world.fly(100.0, 100.0);
    keys.press(KEY_SPACE);
    game.ticks = 1000;
    game.startLoop();
    // The first frame counts every tick since set-up: each of its three steps may fire,
    // and every shot moves 5 in the step that fires it.
    EXPECT_TRUE(frameAfter(3));
    EXPECT_EQ(shotsX(), (std::vector<double>{139.0, 134.0, 129.0}));
    // One tick since the last fire: more than 5 are needed.
    frameAfter(1);
    EXPECT_EQ(shotsX(), (std::vector<double>{144.0, 139.0, 134.0}));
    // A frame without ticks runs no step, but is drawn.
    EXPECT_TRUE(frameAfter(0));
    EXPECT_EQ(shotsX(), (std::vector<double>{144.0, 139.0, 134.0}));
    EXPECT_EQ(RenderLog::framesEnded, 3);
}

TEST_F(GameLoop, TheFrameRateIsCountedOverMoreThanAHundredTicksAndShownTopLeft)
{
    game.startLoop();
    const int ticks[] = {0, 0, 0, 100, 101, 150, 201, 202};
    const char* shown[] = {"", "", "", "", "5FPS", "5FPS", "5FPS", "3FPS"};
    for (int i = 0; i < 8; ++i) {
        game.ticks = ticks[i];
        game.runFrame();
        ASSERT_EQ(RenderLog::texts.size(), size_t(i + 1));
        EXPECT_EQ(RenderLog::texts.back().text, shown[i]) << "frame at tick " << ticks[i];
    }
    EXPECT_FLOAT_EQ(RenderLog::texts[0].x, 16.0f);
    EXPECT_FLOAT_EQ(RenderLog::texts[0].y, 16.0f);
    EXPECT_EQ(RenderLog::texts[0].characterSet, 0);
}

TEST_F(GameLoop, AFrameDrawsTheMapThenTheShipTheShotsAndTheAliens)
{
    world.fly(100.0, 100.0);
    world.placeShot(50.0, 50.0);
    world.placeAlien(200, 60)->activity = Active;
    game.startLoop();
    game.runFrame();

    const size_t cells = 20 * 15;
    ASSERT_EQ(RenderLog::quads.size(), cells + 3);
    for (size_t i = 0; i < cells; ++i)
        ASSERT_EQ(RenderLog::quads[i].width, 16) << "quad " << i;
    EXPECT_EQ(RenderLog::quads[cells].texture, ship.frameTextures[0]);
    EXPECT_EQ(RenderLog::quads[cells + 1].texture, game.shotPrototypes[0]->frameTextures[0]);
    EXPECT_EQ(RenderLog::quads[cells + 2].texture, game.alienPrototypes[0]->frameTextures[0]);
}

TEST_F(GameLoop, TheFirstStepTakesALifeAndEscapeEndsTheLoopAfterTheFrameIsShown)
{
    game.startLoop();
    keys.press(KEY_ESC);
    EXPECT_FALSE(frameAfter(1));
    EXPECT_EQ(ship.state, Entering);
    EXPECT_EQ(RenderLog::lives, std::vector<int>{4});
    keys.release(KEY_ESC);
    EXPECT_TRUE(frameAfter(1));
    EXPECT_DOUBLE_EQ(ship.x, -28.0);
}

TEST_F(GameLoop, AnExplosionIsCentredOnTheSpriteWithHalvesAndSumsTruncatedTowardZero)
{
    Explosion odd;
    world.loadStrip(odd, 25, 25, 1);
    game.startExplosion(*world.placeShot(-10.5, 7.9), odd);  // a 10 x 4 shot
    EXPECT_DOUBLE_EQ(odd.x, -17.0);                          // -10.5 + (10 - 25) / 2 = -10.5 - 7
    EXPECT_DOUBLE_EQ(odd.y, -2.0);                           // 7.9 + (4 - 25) / 2 = 7.9 - 10
}

TEST_F(Passes, AShotIsMovedThenDestroysTheFirstAlienItTouchesThatIsNotExploding)
{
    // Two 16x16 aliens at the same place; the 10x4 shots move 5 before they are tested, and
    // one more shot at their height, far to the left, moves on.
    struct Case {
        const char* name; int alienX, alienY; bool firstExploding; double shotX, shotY; int shots; const char* exploding;
    };
    const Case cases[] = {
        {"a shot reaching the alien only after its step", 200, 100, false, 190.0, 105.0, 1, "10"},
        {"a shot reaching into the alien's top", 200, 100, false, 190.0, 98.0, 1, "10"},
        {"a shot passing an alien that already explodes", 200, 100, true, 190.0, 105.0, 1, "11"},
        {"a second shot passing the alien the first destroyed", 200, 100, false, 190.0, 105.0, 2, "11"},
        {"a shot leaving the screen", 318, 98, false, 316.0, 100.0, 1, "00"},
        {"a shot touching the terrain", 200, 36, false, 190.0, 36.0, 1, "00"},
        {"a dormant alien just past the right edge", 320, 100, false, 315.0, 104.0, 1, "10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AssembledGame fresh;
        setCell(*fresh.game.level, 12, 2, 1);  // 192..207 x 32..47
        fresh.placeAlien(c.alienX, c.alienY)->exploding = c.firstExploding;
        fresh.placeAlien(c.alienX, c.alienY);
        for (int i = 0; i < c.shots; ++i)
            fresh.placeShot(c.shotX, c.shotY);
        fresh.placeShot(20.0, c.shotY);
        fresh.game.updateShots();
        const std::string exploding = {fresh.alien(0)->exploding ? '1' : '0', fresh.alien(1)->exploding ? '1' : '0'};
        EXPECT_EQ(exploding, c.exploding);
        ASSERT_EQ(fresh.game.playerShots.size(), 1u);
        EXPECT_DOUBLE_EQ(fresh.game.playerShots.front()->x, 25.0);
    }
}

TEST_F(Passes, OnlyAFlyingShipAndTheFirstAlienTouchingItExplodeTogether)
{
    const PlayerState states[] = {Flying, Exploding, Entering, Protected, Waiting};
    for (PlayerState state : states) {
        SCOPED_TRACE("ship state " + std::to_string(int(state)));
        AssembledGame fresh;
        Player& ship = fresh.ship();
        fresh.fly(100.0, 100.0);
        ship.state = state;
        HomingAlien* first = fresh.placeAlien(110, 98);  // dormant, as placed
        HomingAlien* second = fresh.placeAlien(104, 100);
        fresh.game.elapsedTicks = 3;
        fresh.game.updateAliens();
        EXPECT_EQ(first->exploding, state == Flying);
        EXPECT_FALSE(second->exploding);
        EXPECT_EQ(ship.state, state == Flying ? Exploding : state);
        if (state != Flying)
            continue;
        EXPECT_DOUBLE_EQ(first->explosion->x, 102.0);
        EXPECT_DOUBLE_EQ(first->explosion->y, 90.0);
        EXPECT_EQ(first->explosion->frameTicks, 3);  // its explosion already played this step
        EXPECT_DOUBLE_EQ(ship.explosion->y, 90.0);
    }
}

TEST_F(Passes, AliensTouchingTheTerrainExplodeAndFinishedAliensAreRemoved)
{
    ship.state = Protected;
    setCell(*game.level, 12, 6, 1);
    HomingAlien* crashing = world.placeAlien(200, 100);
    HomingAlien* flying = world.placeAlien(200, 150);
    flying->activity = Active;
    world.placeAlien(321, 50)->activity = Active;
    HomingAlien* played = world.placeAlien(100, 150);
    played->exploding = true;
    played->explosion->frameTicks = 95;
    HomingAlien* dormant = world.placeAlien(400, 50);
    game.updateAliens();
    EXPECT_EQ(std::vector<Alien*>(game.aliens.begin(), game.aliens.end()),
              (std::vector<Alien*>{crashing, flying, dormant}));
    EXPECT_TRUE(crashing->exploding);
    EXPECT_DOUBLE_EQ(crashing->explosion->x, 192.0);
    EXPECT_DOUBLE_EQ(crashing->explosion->y, 92.0);
    EXPECT_EQ(crashing->explosion->frameTicks, 1);
    EXPECT_FALSE(flying->exploding);
    EXPECT_DOUBLE_EQ(flying->x, 199.0);
}

TEST_F(Passes, EnemyShotsWaitWhileTheShipEntersOrIsProtectedAndStayInPlayAfterAHit)
{
    Shot* enemy = world.placeShot(100.0, 104.0);
    game.playerShots.remove(enemy);
    game.enemyShots.push_back(enemy);
    world.fly(100.0, 100.0);
    for (PlayerState state : {Entering, Protected}) {
        ship.state = state;
        game.updateShots();
        EXPECT_DOUBLE_EQ(enemy->x, 100.0) << "ship state " << int(state);
    }
    ship.state = Flying;
    game.updateShots();
    EXPECT_EQ(ship.state, Exploding);
    EXPECT_DOUBLE_EQ(ship.explosion->x, 96.0);
    ASSERT_EQ(game.enemyShots.size(), 1u);
    EXPECT_DOUBLE_EQ(enemy->x, 105.0);
}
