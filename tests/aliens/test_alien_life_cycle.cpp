#include <gtest/gtest.h>

#include "aliens/HomingAlien.h"
#include "core/Game.h"
#include "core/TestWorld.h"
#include "headless/RenderLog.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "sprites/Explosion.h"
#include "sprites/Player.h"

namespace {

class AlienLife : public testing::Test {
protected:
    AlienLife() : world(40, 30)
    {
        RenderLog::clear();
        world.ship().state = Protected;  // no steering: aliens fly straight to the left
        setScroll(*world.game.level, 1000.0, 500.0);
    }

    // An alien at screen position (sx, sy) of the scroll (1000, 500).
    HomingAlien* alienOnScreen(int sx, int sy, AlienState activity)
    {
        HomingAlien* alien = world.placeAlien(1000 + sx, 500 + sy);
        alien->activity = activity;
        return alien;
    }

    AssembledGame world;
};

}  // namespace

TEST_F(AlienLife, ADormantAlienWakesStrictlyInsideTheScreenAndMovesOneStepLater)
{
    const int sleeping[] = {0, 320, -5, 400};
    for (int sx : sleeping) {
        HomingAlien* alien = alienOnScreen(sx, 100, Dormant);
        EXPECT_EQ(alien->update(1), 2) << "screen x " << sx;
        EXPECT_EQ(alien->activity, Dormant) << "screen x " << sx;
    }
    const int waking[] = {1, 319};
    for (int sx : waking) {
        HomingAlien* alien = alienOnScreen(sx, 100, Dormant);
        EXPECT_EQ(alien->update(1), 0) << "screen x " << sx;
        EXPECT_EQ(alien->activity, Active);
        EXPECT_DOUBLE_EQ(alien->x, 1000.0 + sx);
        EXPECT_EQ(alien->update(1), 0);
        EXPECT_DOUBLE_EQ(alien->x, 1000.0 + sx - 1.0);
    }
}

TEST_F(AlienLife, WakingUsesTheTruncatedScreenXAndIgnoresTheHeight)
{
    world.game.level->mainTileset->scrollX = 1000.5;
    HomingAlien* edge = world.placeAlien(1001, 600);  // screen x 0.5 counts as 0
    EXPECT_EQ(edge->update(1), 2);
    HomingAlien* right = world.placeAlien(1320, 600);  // 319.5 counts as 319
    EXPECT_EQ(right->update(1), 0);
    EXPECT_EQ(right->activity, Active);

    HomingAlien* deep = world.placeAlien(1100, 500 + 5000);
    EXPECT_EQ(deep->update(1), 0);
    EXPECT_EQ(deep->activity, Active);
    EXPECT_EQ(deep->update(1), 1);
    EXPECT_EQ(deep->activity, Gone);
}

TEST_F(AlienLife, AnActiveAlienIsGoneOnlyOnceEntirelyOffTheScreenSideways)
{
    struct Case {
        int sx;
        int result;
    } cases[] = {{320, 0}, {321, 1}, {-16, 0}, {-17, 1}, {100, 0}};
    for (const Case& c : cases) {
        HomingAlien* alien = alienOnScreen(c.sx, 100, Active);
        EXPECT_EQ(alien->update(1), c.result) << "screen x " << c.sx;
        EXPECT_EQ(alien->activity, c.result ? Gone : Active) << "screen x " << c.sx;
        EXPECT_DOUBLE_EQ(alien->x, 1000.0 + c.sx - (c.result ? 0.0 : 1.0)) << "screen x " << c.sx;
        if (c.result) {
            EXPECT_EQ(alien->update(1), 1);
        }
    }
}

TEST_F(AlienLife, TheSidewaysBoundsUseTheTruncatedScreenX)
{
    world.game.level->mainTileset->scrollX = 1000.5;
    HomingAlien* left = world.placeAlien(984, 600);  // -16.5 counts as -16
    left->activity = Active;
    EXPECT_EQ(left->update(1), 0);
    HomingAlien* right = world.placeAlien(1321, 600);  // 320.5 counts as 320
    right->activity = Active;
    EXPECT_EQ(right->update(1), 0);
}

TEST_F(AlienLife, TheVerticalBoundsFollowTheDisplayHeight)
{
    struct Case {
        int sy;
        int result;
    } cases[] = {{240, 0}, {241, 1}, {-16, 0}, {-17, 1}};
    for (const Case& c : cases) {
        HomingAlien* alien = alienOnScreen(100, c.sy, Active);
        EXPECT_EQ(alien->update(1), c.result) << "screen y " << c.sy;
    }

    RenderLog::screenHeight = 480;
    const Case tall[] = {{300, 0}, {480, 0}, {481, 1}};
    for (const Case& c : tall) {
        HomingAlien* alien = alienOnScreen(100, c.sy, Active);
        EXPECT_EQ(alien->update(1), c.result) << "screen y " << c.sy << " on a 480 display";
    }
}

TEST_F(AlienLife, AnExplodingAlienHandsOverToItsExplosion)
{
    const AlienState states[] = {Dormant, Active};
    for (AlienState state : states) {
        HomingAlien* alien = alienOnScreen(100, 100, state);
        alien->exploding = true;
        alien->explosion->x = 1100.0;
        alien->explosion->y = 600.0;
        alien->explosion->frameTicks = 94;
        EXPECT_EQ(alien->update(1), 0);
        EXPECT_DOUBLE_EQ(alien->x, 1100.0);
        EXPECT_EQ(alien->activity, state);
        EXPECT_EQ(alien->explosion->frameTicks, 95);
        EXPECT_EQ(alien->update(1), 1);
        EXPECT_DOUBLE_EQ(alien->x, 1100.0);
    }
}

TEST_F(AlienLife, OnlyAnActiveAlienIsDrawnAndAnExplodingOneDrawsItsExplosion)
{
    HomingAlien* dormant = alienOnScreen(100, 50, Dormant);
    HomingAlien* gone = alienOnScreen(100, 50, Gone);
    dormant->draw();
    gone->draw();
    EXPECT_TRUE(RenderLog::quads.empty());

    world.game.level->mainTileset->scrollX = 1000.25;
    HomingAlien* active = alienOnScreen(100, 50, Active);
    active->draw();
    ASSERT_EQ(RenderLog::quads.size(), 1u);
    EXPECT_EQ(RenderLog::describe(RenderLog::quads[0]),
              "99.75,50 16x16 #" + std::to_string(world.game.alienPrototypes[0]->frameTextures[0]));

    RenderLog::clear();
    active->exploding = true;
    active->explosion->x = 1092.25;
    active->explosion->y = 542.0;
    active->draw();
    ASSERT_EQ(RenderLog::quads.size(), 1u);
    EXPECT_EQ(RenderLog::describe(RenderLog::quads[0]),
              "92,42 32x32 #" + std::to_string(active->explosion->frameTextures[0]) + " alpha 0.9");
}
