#include <gtest/gtest.h>

#include <string>

#include "aliens/HomingAlien.h"
#include "core/TestWorld.h"
#include "headless/RenderLog.h"
#include "sprites/Player.h"

namespace {

const int32_t Left = 0x800000;     // heading 128.0
const int32_t TurnStep = 0x20000;  // 2.0

class Homing : public testing::Test {
protected:
    Homing() : world(40, 30), ship(world.ship()) { RenderLog::clear(); }

    HomingAlien* alienAt(int x, int y)
    {
        HomingAlien* alien = world.placeAlien(x, y);
        alien->activity = Active;
        return alien;
    }

    AssembledGame world;
    Player& ship;
};

}  // namespace

TEST_F(Homing, TheFixedPointPositionFollowsThePositionOverTheWholeRange)
{
    HomingAlien* alien = world.placeAlien(-50, 120);
    EXPECT_EQ(alien->fixedX, -50 * 65536);
    EXPECT_EQ(alien->fixedY, 120 * 65536);
    alien->setPosition(32767, -32768);
    EXPECT_EQ(alien->fixedX, 0x7FFF0000);
    EXPECT_EQ(alien->fixedY, INT32_MIN);
}

TEST_F(Homing, AnAlienTurnsTowardAFlyingOrWaitingShipUnlessItIsClose)
{
    // The distance is measured one step further ahead, from the ship's truncated top-left corner.
    struct Case {
        const char* name;
        double shipX, shipY;
        PlayerState state;
        int alienX, alienY;
        int32_t heading, after;
    } cases[] = {
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
        HomingAlien* alien = alienAt(c.alienX, c.alienY);
        alien->heading = c.heading;
        alien->move();
        EXPECT_EQ(alien->heading, c.after) << c.name;
    }
}

TEST_F(Homing, PositionsAreRoundedWithHalvesGoingUp)
{
    struct Case {
        int32_t heading, fixedX, fixedY;
        double x, y;
    } cases[] = {
        {0, 10 * 65536 + 0x8000, 20 * 65536 + 0x8000, 12.0, 21.0},           // to the right from (10.5, 20.5)
        {0x400000, -(10 * 65536 + 0x8000), 20 * 65536 + 0x7FFF, -10.0, 21.0},  // down from (-10.5, just under 20.5)
    };
    ship.state = Protected;
    for (const Case& c : cases) {
        HomingAlien* alien = alienAt(0, 0);
        alien->heading = c.heading;
        alien->fixedX = c.fixedX;
        alien->fixedY = c.fixedY;
        alien->move();
        EXPECT_DOUBLE_EQ(alien->x, c.x) << "from " << c.fixedX << ", " << c.fixedY;
        EXPECT_DOUBLE_EQ(alien->y, c.y) << "from " << c.fixedX << ", " << c.fixedY;
    }
}
