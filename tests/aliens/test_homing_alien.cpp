#include <allegro.h>
#include <gtest/gtest.h>

#include "aliens/HomingAlien.h"
#include "core/Game.h"
#include "core/TestWorld.h"
#include "headless/RenderLog.h"
#include "sprites/Player.h"

namespace {

const int32_t Left = 0x800000;      // heading 128.0
const int32_t TurnStep = 0x20000;   // 2.0

class Homing : public testing::Test {
protected:
    Homing() : world(40, 30), ship(world.ship()) { RenderLog::clear(); }

    HomingAlien* alienAt(int x, int y)
    {
        HomingAlien* alien = world.placeAlien(x, y);
        alien->activity = Active;
        return alien;
    }

    void shipAt(double x, double y, PlayerState state)
    {
        ship.x = x;
        ship.y = y;
        ship.state = state;
    }

    AssembledGame world;
    Player& ship;
};

}  // namespace

TEST_F(Homing, SettingThePositionAlsoSetsTheFixedPointPosition)
{
    HomingAlien* alien = world.placeAlien(0, 0);
    alien->setPosition(-50, 120);
    EXPECT_DOUBLE_EQ(alien->x, -50.0);
    EXPECT_DOUBLE_EQ(alien->y, 120.0);
    EXPECT_EQ(alien->fixedX, -50 * 65536);
    EXPECT_EQ(alien->fixedY, 120 * 65536);
}

TEST_F(Homing, WithTheShipStraightAheadTheFirstStepTurnsOneWayAndTheNextTurnsBack)
{
    shipAt(100.0, 100.0, Flying);
    HomingAlien* alien = alienAt(1000, 100);
    alien->move();
    EXPECT_EQ(alien->heading, Left + TurnStep);
    EXPECT_EQ(alien->fixedX, 999 * 65536);
    EXPECT_EQ(alien->fixedY, 100 * 65536);
    EXPECT_DOUBLE_EQ(alien->x, 999.0);
    EXPECT_DOUBLE_EQ(alien->y, 100.0);

    // At 130.0 the step is (-65457, -3216) in 16.16: up and left, so the ship now lies below the line.
    alien->move();
    EXPECT_EQ(alien->fixedX, 999 * 65536 - 65457);
    EXPECT_EQ(alien->fixedY, 100 * 65536 - 3216);
    EXPECT_DOUBLE_EQ(alien->x, 998.0);
    EXPECT_DOUBLE_EQ(alien->y, 100.0);
    EXPECT_EQ(alien->heading, Left);
}

TEST_F(Homing, CloseToTheShipTheAlienFliesStraightOn)
{
    // The distance is measured one step further ahead, from the ship's truncated top-left corner.
    struct Case {
        int ax, ay;
        double sx, sy;
        int32_t heading;
    } cases[] = {
        {210, 100, 160.0, 100.0, Left},             // 208 - 160 = 48: holds
        {211, 100, 160.9, 100.0, Left + TurnStep},  // 209 - 160 = 49: turns
        {190, 120, 160.0, 100.0, Left},             // 28 + 20 = 48: holds
        {190, 121, 160.0, 100.9, Left + TurnStep},  // 28 + 21 = 49, ship above: turns up
        {190, 79, 160.0, 100.0, Left - TurnStep},   // 28 + 21 = 49, ship below: turns down
    };
    for (const Case& c : cases) {
        shipAt(c.sx, c.sy, Flying);
        HomingAlien* alien = alienAt(c.ax, c.ay);
        alien->move();
        EXPECT_EQ(alien->heading, c.heading) << "alien at (" << c.ax << ", " << c.ay << ")";
    }
}

TEST_F(Homing, AliensDoNotSteerWhileTheShipIsExplodingEnteringOrProtected)
{
    const PlayerState still[] = {Exploding, Entering, Protected};
    for (PlayerState state : still) {
        shipAt(100.0, 100.0, state);
        HomingAlien* alien = alienAt(1000, 100);
        alien->move();
        alien->move();
        EXPECT_EQ(alien->heading, Left) << "ship state " << int(state);
        EXPECT_DOUBLE_EQ(alien->x, 998.0);
    }
    shipAt(100.0, 100.0, Waiting);
    HomingAlien* alien = alienAt(1000, 100);
    alien->move();
    EXPECT_EQ(alien->heading, Left + TurnStep);
}

TEST_F(Homing, PositionsAreRoundedWithHalvesGoingUp)
{
    shipAt(100.0, 100.0, Protected);
    HomingAlien* alien = alienAt(0, 0);
    alien->heading = 0x400000;  // straight down: x does not change
    alien->fixedX = 10 * 65536 + 0x8000;
    alien->fixedY = 50 * 65536;
    alien->move();
    EXPECT_DOUBLE_EQ(alien->x, 11.0);
    EXPECT_DOUBLE_EQ(alien->y, 51.0);

    alien->fixedX = -(10 * 65536 + 0x8000);
    alien->move();
    EXPECT_DOUBLE_EQ(alien->x, -10.0);

    alien->heading = 0;  // to the right: y does not change
    alien->fixedY = 20 * 65536 + 0x8000;
    alien->fixedX = 3 * 65536;
    alien->move();
    EXPECT_DOUBLE_EQ(alien->x, 4.0);
    EXPECT_DOUBLE_EQ(alien->y, 21.0);
    alien->fixedY = 20 * 65536 + 0x7FFF;
    alien->move();
    EXPECT_DOUBLE_EQ(alien->y, 20.0);
}

TEST_F(Homing, WithTheShipFarBehindTheAlienTurnsAroundInSixtyFourSteps)
{
    shipAt(3000.0, 100.0, Flying);
    HomingAlien* alien = alienAt(1000, 100);
    for (int step = 1; step <= 64; ++step) {
        alien->move();
        ASSERT_EQ(alien->heading, (Left + step * TurnStep) & 0xFFFFFF) << "step " << step;
    }
    EXPECT_EQ(alien->heading, 0);
}

TEST_F(Homing, TheHeadingWrapsAroundAFullTurnBothWays)
{
    shipAt(3000.0, 100.0, Flying);
    HomingAlien* up = alienAt(1000, 100);
    up->heading = 0xFF0000;  // slightly up from +x: the ship lies below the line
    up->move();
    EXPECT_EQ(up->heading, 0x010000);

    HomingAlien* down = alienAt(1000, 100);
    down->heading = 0x010000;  // slightly down from +x: the ship lies above the line
    down->move();
    EXPECT_EQ(down->heading, 0xFF0000);
}
