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

class Passes : public testing::Test {
protected:
    Passes() : game(world.game), ship(world.ship()) { RenderLog::clear(); }

    void fly(double x, double y)
    {
        ship.state = Flying;
        ship.x = x;
        ship.y = y;
        ship.lastScrollX = 0.0;
    }

    HomingAlien* alien(size_t i) const
    {
        auto it = game.aliens.begin();
        std::advance(it, i);
        return static_cast<HomingAlien*>(*it);
    }

    HeldKeys keys;
    AssembledGame world;
    Game& game;
    Player& ship;
};

}  // namespace

TEST_F(Passes, AShotIsMovedBeforeItIsTestedAndDestroysOnlyTheFirstAlienItTouches)
{
    world.placeAlien(200, 100);
    world.placeAlien(200, 100);
    world.placeShot(190.0, 105.0);  // touches both aliens only after its step to 195
    game.updateShots();
    EXPECT_TRUE(game.playerShots.empty());
    EXPECT_TRUE(alien(0)->exploding);
    EXPECT_FALSE(alien(1)->exploding);
    EXPECT_DOUBLE_EQ(alien(0)->explosion->x, 192.0);
    EXPECT_DOUBLE_EQ(alien(0)->explosion->y, 92.0);
    EXPECT_EQ(alien(0)->explosion->frameTicks, 0);
}

TEST_F(Passes, ShotsPassThroughAnAlienThatIsAlreadyExploding)
{
    world.placeAlien(200, 100)->exploding = true;
    world.placeShot(190.0, 105.0);
    game.updateShots();
    ASSERT_EQ(game.playerShots.size(), 1u);
    EXPECT_DOUBLE_EQ(game.playerShots.front()->x, 195.0);

    world.placeAlien(200, 100);
    game.updateShots();
    EXPECT_TRUE(game.playerShots.empty());
    EXPECT_TRUE(alien(1)->exploding);
}

TEST_F(Passes, TheShotAfterAHitIsHandledInTheSameStep)
{
    world.placeAlien(200, 100);
    world.placeShot(190.0, 105.0);
    Shot* next = world.placeShot(20.0, 20.0);
    game.updateShots();
    ASSERT_EQ(game.playerShots.size(), 1u);
    EXPECT_EQ(game.playerShots.front(), next);
    EXPECT_DOUBLE_EQ(next->x, 25.0);
}

TEST_F(Passes, AShotLeavingTheScreenIsNotTestedAgainstAliens)
{
    world.placeAlien(318, 98);
    world.placeShot(316.0, 100.0);  // at 321 after its step
    game.updateShots();
    EXPECT_TRUE(game.playerShots.empty());
    EXPECT_FALSE(alien(0)->exploding);
}

TEST_F(Passes, AShotTouchingTheTerrainIsNotTestedAgainstAliens)
{
    setCell(*game.level, 12, 6, 1);  // 192..207 x 96..111
    world.placeAlien(200, 100);
    world.placeShot(190.0, 100.0);
    game.updateShots();
    EXPECT_TRUE(game.playerShots.empty());
    EXPECT_FALSE(alien(0)->exploding);
}

TEST_F(Passes, ShotsHitDormantAliensJustPastTheRightEdge)
{
    HomingAlien* waiting = world.placeAlien(320, 100);
    world.placeShot(315.0, 104.0);  // at 320 after its step, still on the screen
    game.updateShots();
    EXPECT_TRUE(game.playerShots.empty());
    EXPECT_TRUE(waiting->exploding);
    EXPECT_EQ(waiting->activity, Dormant);
}

TEST_F(Passes, AnAlienAndAFlyingShipThatTouchExplodeTogether)
{
    fly(100.0, 100.0);
    world.placeAlien(110, 98);
    game.elapsedTicks = 3;
    game.updateAliens();
    EXPECT_TRUE(alien(0)->exploding);
    EXPECT_DOUBLE_EQ(alien(0)->explosion->x, 102.0);
    EXPECT_DOUBLE_EQ(alien(0)->explosion->y, 90.0);
    EXPECT_EQ(alien(0)->explosion->frameTicks, 3);  // its explosion already played this step
    EXPECT_EQ(ship.state, Exploding);
    EXPECT_DOUBLE_EQ(ship.explosion->x, 96.0);
    EXPECT_DOUBLE_EQ(ship.explosion->y, 90.0);
    EXPECT_EQ(ship.explosion->frameTicks, 0);
    EXPECT_EQ(game.lives, 5);
}

TEST_F(Passes, OnlyTheFirstOfTwoAliensTouchingTheShipExplodesWithIt)
{
    fly(100.0, 100.0);
    world.placeAlien(110, 98);
    world.placeAlien(104, 100);
    game.updateAliens();
    EXPECT_TRUE(alien(0)->exploding);
    EXPECT_FALSE(alien(1)->exploding);
    EXPECT_EQ(ship.state, Exploding);
}

TEST_F(Passes, AliensPassThroughAShipThatIsNotFlying)
{
    const PlayerState states[] = {Exploding, Entering, Protected, Waiting};
    for (PlayerState state : states) {
        fly(100.0, 100.0);
        ship.state = state;
        ship.respawnTick = 0;
        HomingAlien* passing = world.placeAlien(110, 98);
        game.updateAliens();
        EXPECT_FALSE(passing->exploding) << "ship state " << int(state);
        EXPECT_EQ(ship.state, state);
    }
}

TEST_F(Passes, ADormantAlienTouchingTheShipStillExplodes)
{
    fly(100.0, 100.0);
    HomingAlien* hidden = world.placeAlien(110, 98);
    EXPECT_EQ(hidden->activity, Dormant);
    game.updateAliens();
    EXPECT_TRUE(hidden->exploding);
    EXPECT_EQ(ship.state, Exploding);
}

TEST_F(Passes, AnAlienTouchingTheTerrainExplodes)
{
    setCell(*game.level, 12, 6, 1);
    HomingAlien* crashing = world.placeAlien(200, 100);
    HomingAlien* clear = world.placeAlien(200, 150);
    game.updateAliens();
    EXPECT_TRUE(crashing->exploding);
    EXPECT_DOUBLE_EQ(crashing->explosion->x, 192.0);
    EXPECT_DOUBLE_EQ(crashing->explosion->y, 92.0);
    EXPECT_EQ(crashing->explosion->frameTicks, 1);
    EXPECT_FALSE(clear->exploding);
}

TEST_F(Passes, AliensThatAreFinishedAreRemoved)
{
    ship.state = Protected;
    ship.respawnTick = 0;
    HomingAlien* gone = world.placeAlien(321, 50);
    gone->activity = Active;
    HomingAlien* played = world.placeAlien(100, 150);
    played->exploding = true;
    played->explosion->frameTicks = 95;
    HomingAlien* dormant = world.placeAlien(400, 50);
    HomingAlien* flying = world.placeAlien(200, 50);
    flying->activity = Active;
    game.updateAliens();
    ASSERT_EQ(game.aliens.size(), 2u);
    EXPECT_EQ(alien(0), dormant);
    EXPECT_EQ(alien(1), flying);
    EXPECT_DOUBLE_EQ(flying->x, 199.0);
}

TEST_F(Passes, AShotFiredDuringAStepHasMovedOnceWhenTheStepEnds)
{
    keys.press(KEY_SPACE);
    fly(100.0, 100.0);
    ship.fireTicks = 5;
    game.elapsedTicks = 1;
    game.logicStep();
    ASSERT_EQ(game.playerShots.size(), 1u);
    EXPECT_DOUBLE_EQ(game.playerShots.front()->x, 129.0);  // fired at 124
    EXPECT_DOUBLE_EQ(game.playerShots.front()->y, 106.0);
}

TEST_F(Passes, EnemyShotsStandStillWhileTheShipEntersOrIsProtected)
{
    Shot* enemy = game.shotPrototypes[0]->makeCopy();
    enemy->x = 20.0;
    enemy->y = 20.0;
    game.enemyShots.push_back(enemy);
    const PlayerState still[] = {Entering, Protected};
    for (PlayerState state : still) {
        ship.state = state;
        game.updateShots();
        EXPECT_DOUBLE_EQ(enemy->x, 20.0) << "ship state " << int(state);
    }
    fly(100.0, 100.0);
    game.updateShots();
    EXPECT_DOUBLE_EQ(enemy->x, 25.0);
}

TEST_F(Passes, AnEnemyShotHittingAFlyingShipStaysInPlay)
{
    fly(100.0, 100.0);
    Shot* enemy = game.shotPrototypes[0]->makeCopy();
    enemy->x = 100.0;
    enemy->y = 104.0;
    game.enemyShots.push_back(enemy);
    game.updateShots();
    EXPECT_EQ(ship.state, Exploding);
    EXPECT_DOUBLE_EQ(ship.explosion->x, 96.0);
    ASSERT_EQ(game.enemyShots.size(), 1u);
    EXPECT_DOUBLE_EQ(enemy->x, 105.0);
}
