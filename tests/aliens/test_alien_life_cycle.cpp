#include <gtest/gtest.h>

#include <string>

#include "aliens/HomingAlien.h"
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

    AssembledGame world;
};

}  // namespace

TEST_F(AlienLife, ADormantAlienWakesInsideTheScreenAndAnActiveOneIsGoneOnceEntirelyOffIt)
{
    // World positions against the scroll (1000, 500) or (1000.5, 500); screen positions truncate.
    struct Case {
        AlienState activity;
        double scrollX;
        int x, y, screenHeight;
        int result;
        AlienState after;
        double xAfter;
    } cases[] = {
        {Dormant, 1000.0, 1000, 600, 240, 2, Dormant, 1000},   // screen x 0
        {Dormant, 1000.0, 1320, 600, 240, 2, Dormant, 1320},   // 320
        {Dormant, 1000.0, 995, 600, 240, 2, Dormant, 995},     // -5
        {Dormant, 1000.0, 1001, 600, 240, 0, Active, 1001},    // 1: wakes, moves from the next step
        {Dormant, 1000.0, 1319, 600, 240, 0, Active, 1319},    // 319
        {Dormant, 1000.5, 1001, 600, 240, 2, Dormant, 1001},   // 0.5 counts as 0
        {Dormant, 1000.5, 1320, 600, 240, 0, Active, 1320},    // 319.5 counts as 319
        {Dormant, 1000.0, 1100, 5500, 240, 0, Active, 1100},   // the height does not matter
        {Active, 1000.0, 1320, 600, 240, 0, Active, 1319},     // 320
        {Active, 1000.0, 1321, 600, 240, 1, Gone, 1321},       // 321
        {Active, 1000.0, 984, 600, 240, 0, Active, 983},       // -16
        {Active, 1000.0, 983, 600, 240, 1, Gone, 983},         // -17
        {Active, 1000.5, 984, 600, 240, 0, Active, 983},       // -16.5 counts as -16
        {Active, 1000.5, 1321, 600, 240, 0, Active, 1320},     // 320.5 counts as 320
        {Active, 1000.0, 1100, 740, 240, 0, Active, 1099},     // screen y 240
        {Active, 1000.0, 1100, 741, 240, 1, Gone, 1100},       // 241
        {Active, 1000.0, 1100, 484, 240, 0, Active, 1099},     // -16
        {Active, 1000.0, 1100, 483, 240, 1, Gone, 1100},       // -17
        {Active, 1000.0, 1100, 980, 480, 0, Active, 1099},     // 480 on a 480-high display
        {Active, 1000.0, 1100, 981, 480, 1, Gone, 1100},       // 481 on a 480-high display
        {Gone, 1000.0, 1100, 600, 240, 1, Gone, 1100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("activity " + std::to_string(c.activity) + " at " + std::to_string(c.x) + "," +
                     std::to_string(c.y) + " scrolled to " + std::to_string(c.scrollX));
        world.game.level->mainTileset->scrollX = c.scrollX;
        RenderLog::screenHeight = c.screenHeight;
        HomingAlien* alien = world.placeAlien(c.x, c.y);
        alien->activity = c.activity;
        EXPECT_EQ(alien->update(1), c.result);
        EXPECT_EQ(alien->activity, c.after);
        EXPECT_DOUBLE_EQ(alien->x, c.xAfter);
    }
}

TEST_F(AlienLife, AnExplodingAlienHandsOverToItsExplosion)
{
    for (AlienState state : {Dormant, Active}) {
        HomingAlien* alien = world.placeAlien(1100, 600);
        alien->activity = state;
        alien->exploding = true;
        alien->explosion->setPosition(1100, 600);
        alien->explosion->frameTicks = 94;
        EXPECT_EQ(alien->update(1), 0);
        EXPECT_DOUBLE_EQ(alien->x, 1100.0);
        EXPECT_EQ(alien->activity, state);
        EXPECT_EQ(alien->explosion->frameTicks, 95);
        EXPECT_EQ(alien->update(1), 1);
    }
}

TEST_F(AlienLife, OnlyAnActiveAlienIsDrawnAndAnExplodingOneDrawsItsExplosion)
{
    world.placeAlien(1100, 550)->draw();
    HomingAlien* gone = world.placeAlien(1100, 550);
    gone->activity = Gone;
    gone->draw();
    EXPECT_TRUE(RenderLog::quads.empty());

    world.game.level->mainTileset->scrollX = 1000.25;
    HomingAlien* active = world.placeAlien(1100, 550);
    active->activity = Active;
    active->draw();
    ASSERT_EQ(RenderLog::quads.size(), 1u);
    EXPECT_EQ(RenderLog::describe(RenderLog::quads[0]),
              "99.75,50 16x16 #" + std::to_string(world.game.alienPrototypes[0]->frameTextures[0]));

    active->exploding = true;
    active->explosion->x = 1092.25;
    active->explosion->y = 542.0;
    active->draw();
    ASSERT_EQ(RenderLog::quads.size(), 2u);
    EXPECT_EQ(RenderLog::describe(RenderLog::quads[1]),
              "92,42 32x32 #" + std::to_string(active->explosion->frameTextures[0]) + " alpha 0.9");
}
