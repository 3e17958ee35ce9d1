#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Autopilot.h"
#include "FlightPlan.h"
#include "FreeSpace.h"
#include "Pilot.h"
#include "PlayReport.h"
#include "Playthrough.h"
#include "core/DataPaths.h"
#include "core/Game.h"
#include "headless/ScratchFiles.h"
#include "headless/WorkingDirectory.h"
#include "sprites/Player.h"

// Small hand-made levels of 16-pixel cells, 15 rows (240 pixels) high so that they never scroll
// vertically, with a solid bottom row; the test pictures are fully opaque, so the ship is a
// 24 x 12 block and an alien a 16 x 16 block. The ship enters at y 100.
namespace {

const char* const OneAlien = "ALIENPROTOS 1\n0 bmp/alien.bmp 1 0\nALIENDEF 1\n0 480 100\n";
const char* const NoAliens = "ALIENPROTOS 1\n0 bmp/alien.bmp 1 0\nALIENDEF 0\n";

// Solid cells from column left to right and row top to bottom, all included.
struct Block {
    int left, right, top, bottom;
};

// A level directory with the game's sprite pictures, played from inside it.
class HandMadeLevel {
public:
    HandMadeLevel(int columns, std::vector<Block> blocks, const std::string& aliens)
    {
        blocks.push_back({0, columns - 1, 14, 14});
        std::string grid;
        for (int row = 0; row < 15; ++row) {
            for (int column = 0; column < columns; ++column) {
                bool solid = false;
                for (const Block& b : blocks)
                    solid = solid || (column >= b.left && column <= b.right && row >= b.top && row <= b.bottom);
                grid += solid ? "1 " : "0 ";
            }
            grid += "\n";
        }
        writeSpritePictures(dir);
        writeLevelDirectory(dir, columns, 15, grid, aliens);
        inside = new WorkingDirectory(dir.path());
        loaded = survey.load(DataPaths::Level);
        if (loaded == 0) {
            room = new FreeSpace(*survey.game->level, *survey.game->player);
            plan = new FlightPlan(*room);
        }
    }
    ~HandMadeLevel()
    {
        delete plan;
        delete room;
        delete inside;
    }

    PlayReport play(bool autopilot)
    {
        PlayReport report;
        Playthrough playthrough;
        if (playthrough.load(DataPaths::Level) != 0 || !room)
            return report;
        Pilot idle;
        Autopilot pilot(*room, *plan);
        playthrough.play(autopilot ? (Pilot&)pilot : idle, report);
        return report;
    }

    TempDir dir;
    WorkingDirectory* inside = nullptr;
    Playthrough survey;
    FreeSpace* room = nullptr;
    FlightPlan* plan = nullptr;
    int loaded = -1;
};

// 640 x 240 with a wall across the ship's row at x 352 to 368, rows 1 to 13.
const Block Wall = {22, 22, 1, 13};

}

TEST(FreeSpace, TheShipFitsUpToTheWallsAndInTheUntestedTopRow)
{
    HandMadeLevel level(40, {Wall}, NoAliens);
    ASSERT_EQ(0, level.loaded);
    const struct {
        int x, y;
        bool fits;
        const char* why;
    } places[] = {
        {328, 100, true, "right edge at 352, touching the wall"}, {329, 100, false, "one pixel into the wall"},
        {367, 100, false, "left edge one pixel inside the wall"}, {368, 100, true, "left edge on the wall's right side"},
        {340, 4, true, "4 to 16: the grid's top row is never tested"}, {340, 5, false, "one pixel into row 1"},
        {100, 212, true, "bottom edge at 224, on the floor"}, {100, 213, false, "one pixel into the floor"},
        {-1, 100, false, "off the map's left"}, {640 - 24 + 1, 100, false, "off the map's right"},
    };
    for (const auto& place : places)
        EXPECT_EQ(place.fits, level.room->fits(place.x, place.y)) << place.why;
}

// 960 x 240, a wall at x 560 to 576 with a gap from y 160 to 192.
TEST(FlightPlan, ClimbsAtMostSixteenPixelsPerColumnAndTheAutopilotFindsTheGapInAWall)
{
    HandMadeLevel level(60, {{35, 35, 1, 9}, {35, 35, 12, 13}}, NoAliens);
    ASSERT_EQ(0, level.loaded);
    const FlightPlan& plan = *level.plan;
    // In the open, drawn hard toward y 200, the ship is asked for 16 pixels at most.
    EXPECT_EQ(116, plan.nextHeight(100, 100, 200, 2.0));
    EXPECT_EQ(84, plan.nextHeight(100, 100, 20, 2.0));
    EXPECT_TRUE(plan.canMove(100, 100, 150));
    // Beside the wall (x 540 to 564 overlaps it) the ship fits only in the gap: y 160 to 180.
    EXPECT_TRUE(plan.canMove(540, 164, 180));
    EXPECT_FALSE(plan.canMove(540, 164, 182));
    EXPECT_FALSE(plan.canMove(540, 164, 140));
    const int next = plan.nextHeight(540, 170, 60, 2.0);
    EXPECT_GE(next, 160);
    EXPECT_LE(next, 180);
    EXPECT_EQ(FlightPlan::Unreachable, plan.costFrom(540, 100));

    PlayReport report = level.play(true);
    EXPECT_EQ(0, report.livesLost());
    EXPECT_TRUE(report.endReached);
    EXPECT_GE(level.play(false).deathsBy(PlayReport::ByTerrain), 1);
}

// 960 x 240, a floor at y 112 to 128 from x 320 to 736 splits the map; the channel above it,
// where the ship enters, is closed at x 720. Once past x 320 the ship can no longer change channels.
TEST(FlightPlan, ADeadEndCostsMoreThanAnyWayOnAndTheAutopilotLeavesItInTime)
{
    HandMadeLevel level(60, {{20, 45, 7, 7}, {45, 45, 1, 6}}, NoAliens);
    ASSERT_EQ(0, level.loaded);
    const FlightPlan& plan = *level.plan;
    EXPECT_GT(plan.costFrom(300, 96), plan.costFrom(300, 150));
    EXPECT_GT(plan.costFrom(400, 96), plan.costFrom(100, 150));
    EXPECT_LT(plan.costFrom(400, 96), FlightPlan::Unreachable);

    PlayReport report = level.play(true);
    EXPECT_EQ(0, report.livesLost());
    EXPECT_TRUE(report.endReached);
    bool passedBelow = false;
    for (const PlayReport::Trace& where : report.trace) {
        if (where.x >= 400 && where.x <= 700) {
            EXPECT_GE(where.y, 128) << "at x " << where.x;
            passedBelow = true;
        }
    }
    EXPECT_TRUE(passedBelow);
}

TEST(Playthrough, AnAlienInsideAWallAndOneThatNeverWakesAreReported)
{
    HandMadeLevel level(40, {Wall}, "ALIENPROTOS 1 0 bmp/alien.bmp 1 0 ALIENDEF 4 0 480 100 0 340 100 0 0 100 0 336 100");
    ASSERT_EQ(0, level.loaded);
    // (340, 100) overlaps the wall, (0, 100) never scrolls into view, (336, 100) touches the wall only.
    EXPECT_EQ(2, level.survey.checkPlacements(nullptr));
}

TEST(Playthrough, TheIdleShipHitsTheWallInItsRowUntilNoLifeIsLeft)
{
    // The wall goes on to the map's end: every new ship enters it again.
    HandMadeLevel level(40, {Wall, {23, 39, 4, 9}}, NoAliens);
    ASSERT_EQ(0, level.loaded);
    PlayReport report = level.play(false);
    ASSERT_EQ(5, report.livesLost());
    EXPECT_FALSE(report.endReached);
    EXPECT_EQ(5, report.deathsBy(PlayReport::ByTerrain));
    // It flies into the wall at x 352 with its right edge: x just past 328.
    EXPECT_GT(report.deaths[0].x, 328.0);
    EXPECT_LE(report.deaths[0].x, 330.2);
    EXPECT_EQ(100.0, report.deaths[0].y);
}

TEST(Playthrough, AnAlienRamsAShipThatNeverFiresButTheAutopilotShootsIt)
{
    HandMadeLevel level(40, {}, OneAlien);
    ASSERT_EQ(0, level.loaded);
    PlayReport idle = level.play(false);
    ASSERT_EQ(1, idle.livesLost());
    EXPECT_EQ(PlayReport::ByAlien, idle.deaths[0].cause);
    ASSERT_EQ(1u, idle.fates.size());
    EXPECT_EQ(PlayReport::Rammed, idle.fates[0].fate);
    EXPECT_TRUE(idle.endReached);

    PlayReport flown = level.play(true);
    EXPECT_EQ(0, flown.livesLost());
    ASSERT_EQ(1u, flown.fates.size());
    EXPECT_EQ(PlayReport::Shot, flown.fates[0].fate);
    EXPECT_TRUE(flown.endReached);
}
