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
        ship.state = Protected;  // no steering: aliens fly straight to the left
        setScroll(*world.game.level, 1000.0, 500.0);
    }

    AssembledGame world;
    Player& ship = world.ship();
};

// Steering: 16.16 fixed point, headings of 256.0 a full turn, 0 toward +x and 64.0 toward +y.
class Homing : public AlienLife {};

const int32_t Left = 0x800000;     // heading 128.0
const int32_t TurnStep = 0x20000;  // 2.0

}  // namespace

TEST_F(AlienLife, ADormantAlienWakesInsideTheScreenAndAnActiveOneIsGoneOnceEntirelyOffIt)
{
    // World positions against the scroll (1000, 500) or (1000.5, 500); screen positions truncate.
    struct Case {
        AlienState activity; double scrollX; int x, y, screenHeight, result; AlienState after; double xAfter;
    };
    const Case cases[] = {
        {Dormant, 1000.0, 1000, 600, 240, 2, Dormant, 1000},   // screen x 0
        {Dormant, 1000.0, 1320, 600, 240, 2, Dormant, 1320},   // 320
        {Dormant, 1000.0, 1001, 600, 240, 0, Active, 1001},    // 1: wakes, moves from the next step
        {Dormant, 1000.0, 1319, 600, 240, 0, Active, 1319},    // 319
        {Dormant, 1000.5, 1001, 600, 240, 2, Dormant, 1001},   // 0.5 counts as 0
        {Dormant, 1000.5, 1320, 600, 240, 0, Active, 1320},    // 319.5 counts as 319
        {Dormant, 1000.0, 1100, 5500, 240, 0, Active, 1100},   // the height does not matter
        {Active, 1000.0, 1320, 600, 240, 0, Active, 1319},     // 320
        {Active, 1000.0, 1321, 600, 240, 1, Gone, 1321},       // 321
        {Active, 1000.0, 984, 600, 240, 0, Active, 983},       // -16
        {Active, 1000.0, 983, 600, 240, 1, Gone, 983},         // -17
        {Active, 1000.5, 1321, 600, 240, 0, Active, 1320},     // 320.5 counts as 320
        {Active, 1000.0, 1100, 740, 240, 0, Active, 1099},     // screen y 240
        {Active, 1000.0, 1100, 741, 240, 1, Gone, 1100},       // 241
        {Active, 1000.0, 1100, 484, 240, 0, Active, 1099},     // -16
        {Active, 1000.0, 1100, 483, 240, 1, Gone, 1100},       // -17
        {Active, 1000.0, 1100, 980, 480, 0, Active, 1099},     // 480 on a 480-high display
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

TEST_F(AlienLife, OnlyAnActiveAlienIsDrawnAndAnExplodingOneDrawsItsExplosionInstead)
{
    for (AlienState state : {Dormant, Gone}) {
        HomingAlien* hidden = world.placeAlien(1100, 550);
        hidden->activity = state;
        hidden->draw();
    }
    EXPECT_TRUE(RenderLog::quads.empty());

    world.game.level->mainTileset->scrollX = 1000.25;
    HomingAlien* active = world.placeAlien(1100, 550);
    active->activity = Active;
    active->draw();
    active->explosion->setPosition(1092, 542);
    active->exploding = true;
    active->draw();
    ASSERT_EQ(RenderLog::quads.size(), 2u);
    EXPECT_EQ(RenderLog::describe(RenderLog::quads[0]),
              "99.75,50 16x16 #" + std::to_string(world.game.alienPrototypes[0]->frameTextures[0]));
    EXPECT_EQ(RenderLog::quads[1].texture, active->explosion->frameTextures[0]);
}

TEST_F(Homing, AnAlienTurnsTowardAFlyingOrWaitingShipUnlessItIsClose)
{
    // The distance is measured one step further ahead, from the ship's truncated top-left corner.
    struct Case {
        const char* name; double shipX, shipY; PlayerState state; int alienX, alienY; int32_t heading, after;
    };
    const Case cases[] = {
        {"ship straight ahead", 100.0, 100.0, Flying, 1000, 100, Left, Left + TurnStep},
        {"after that turn up the ship lies below", 100.0, 100.0, Flying, 999, 100, Left + TurnStep, Left},
        {"208 - 160 = 48 away", 160.0, 100.0, Flying, 210, 100, Left, Left},
        {"209 - 160 = 49 away", 160.9, 100.0, Flying, 211, 100, Left, Left + TurnStep},
        {"28 + 20 = 48 away", 160.0, 100.0, Flying, 190, 120, Left, Left},
        {"28 + 21 = 49 away, ship above", 160.0, 100.9, Flying, 190, 121, Left, Left + TurnStep},
        {"28 + 21 = 49 away, ship below", 160.0, 100.0, Flying, 190, 79, Left, Left - TurnStep},
        {"ship exploding", 100.0, 100.0, Exploding, 1000, 100, Left, Left},
        {"ship entering", 100.0, 100.0, Entering, 1000, 100, Left, Left},
        {"ship protected", 100.0, 100.0, Protected, 1000, 100, Left, Left},
        {"ship waiting", 100.0, 100.0, Waiting, 1000, 100, Left, Left + TurnStep},
        {"ship far behind, turning down past zero", 3000.0, 100.0, Flying, 1000, 100, 0xFF0000, 0x010000},
        {"ship far behind, turning up past zero", 3000.0, 100.0, Flying, 1000, 100, 0x010000, 0xFF0000},
    };
    for (const Case& c : cases) {
        ship.x = c.shipX;
        ship.y = c.shipY;
        ship.state = c.state;
        HomingAlien* alien = world.placeAlien(c.alienX, c.alienY);
        alien->heading = c.heading;
        alien->move();
        EXPECT_EQ(alien->heading, c.after) << c.name;
    }
}

TEST_F(Homing, PositionsAreRoundedWithHalvesGoingUp)
{
    struct Case { int32_t heading, fixedX, fixedY; double x, y; } cases[] = {
        {0, 10 * 65536 + 0x8000, 20 * 65536 + 0x8000, 12.0, 21.0},           // to the right from (10.5, 20.5)
        {0x400000, -(10 * 65536 + 0x8000), 20 * 65536 + 0x7FFF, -10.0, 21.0},  // down from (-10.5, just under 20.5)
    };
    for (const Case& c : cases) {
        HomingAlien* alien = world.placeAlien(0, 0);
        alien->heading = c.heading;
        alien->fixedX = c.fixedX;
        alien->fixedY = c.fixedY;
        alien->move();
        EXPECT_DOUBLE_EQ(alien->x, c.x) << "from " << c.fixedX << ", " << c.fixedY;
        EXPECT_DOUBLE_EQ(alien->y, c.y) << "from " << c.fixedX << ", " << c.fixedY;
    }
}
