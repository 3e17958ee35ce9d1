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

// Small hand-made levels of 16-pixel cells, 240 pixels high so that they never scroll
// vertically; the test pictures are fully opaque, so the ship is a 24 x 12 block and an
// alien a 16 x 16 block. The ship enters at y 100.
namespace {

const char* const OneAlien = "ALIENPROTOS 1\n0 bmp/alien.bmp 1 0\nALIENDEF 1\n0 480 100\n";
const char* const NoAliens = "ALIENPROTOS 1\n0 bmp/alien.bmp 1 0\nALIENDEF 0\n";

class Map {
public:
    Map(int columns, int rows) : columns(columns), rows(rows), cells(columns * rows, 0)
    {
        for (int column = 0; column < columns; ++column)
            set(column, rows - 1);
    }
    void set(int column, int row) { cells[row * columns + column] = 1; }
    // Solid cells in column from row first to row last, both included.
    void wall(int column, int first, int last)
    {
        for (int row = first; row <= last; ++row)
            set(column, row);
    }
    std::string text() const
    {
        std::string grid;
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column)
                grid += cells[row * columns + column] ? "1 " : "0 ";
            grid += "\n";
        }
        return grid;
    }

    int columns;
    int rows;

private:
    std::vector<int> cells;
};

// A level directory with the game's sprite pictures, played from inside it.
class HandMadeLevel {
public:
    HandMadeLevel(const Map& map, const std::string& aliens)
    {
        writeSpritePictures(dir);
        writeLevelDirectory(dir, map.columns, map.rows, map.text(), aliens);
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
Map walled()
{
    Map map(40, 15);
    map.wall(22, 1, 13);
    return map;
}

}

TEST(FreeSpace, TheShipFitsUpToTheWallsAndInTheUntestedTopRow)
{
    HandMadeLevel level(walled(), NoAliens);
    ASSERT_EQ(0, level.loaded);
    const FreeSpace& room = *level.room;
    EXPECT_TRUE(room.fits(328, 100));   // right edge at 352, touching the wall
    EXPECT_FALSE(room.fits(329, 100));
    EXPECT_FALSE(room.fits(367, 100));
    EXPECT_TRUE(room.fits(368, 100));   // left edge on the wall's right side
    EXPECT_TRUE(room.fits(340, 4));     // 4 to 16: the grid's top row is never tested
    EXPECT_FALSE(room.fits(340, 5));
    EXPECT_TRUE(room.fits(100, 212));   // bottom edge at 224, on the floor
    EXPECT_FALSE(room.fits(100, 213));
    EXPECT_FALSE(room.fits(-1, 100));
    EXPECT_FALSE(room.fits(640 - 24 + 1, 100));
}

// 960 x 240, a wall at x 560 to 576 with a gap from y 160 to 192.
Map gapped()
{
    Map map(60, 15);
    map.wall(35, 1, 9);
    map.wall(35, 12, 13);
    return map;
}

// 960 x 240, a floor at y 112 to 128 from x 320 to 736 splits the map; the channel above
// it, where the ship enters, is closed at x 720.
Map forked()
{
    Map map(60, 15);
    for (int column = 20; column <= 45; ++column)
        map.set(column, 7);
    map.wall(45, 1, 6);
    return map;
}

TEST(FlightPlan, ClimbsAtMostSixteenPixelsPerColumnAndNeverThroughAWall)
{
    HandMadeLevel level(gapped(), NoAliens);
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
}

TEST(FlightPlan, ADeadEndCostsMoreThanAnyWayOn)
{
    HandMadeLevel level(forked(), NoAliens);
    ASSERT_EQ(0, level.loaded);
    const FlightPlan& plan = *level.plan;
    // Before the fork both channels are open; the upper one ends in a wall.
    EXPECT_GT(plan.costFrom(300, 96), plan.costFrom(300, 150));
    EXPECT_GT(plan.costFrom(400, 96), plan.costFrom(100, 150));
    EXPECT_LT(plan.costFrom(400, 96), FlightPlan::Unreachable);
    // Followed column by column from the entry height, the plan is below the floor when it starts.
    int y = 96;
    for (int x = 200; x < 320; x += FlightPlan::ColumnWidth) {
        y = plan.nextHeight(x, y, 0, 0.0);
        ASSERT_GE(y, 0) << "stuck at x " << x;
    }
    EXPECT_GE(y, 128);
}

TEST(PlacementCheck, AnAlienInsideAWallAndOneThatNeverWakesAreReported)
{
    HandMadeLevel level(walled(), "ALIENPROTOS 1 0 bmp/alien.bmp 1 0 ALIENDEF 4 "
                                  "0 480 100 0 340 100 0 0 100 0 336 100");
    ASSERT_EQ(0, level.loaded);
    // (340, 100) overlaps the wall, (0, 100) never scrolls into view, (336, 100) touches the wall only.
    EXPECT_EQ(2, level.survey.checkPlacements(nullptr));
}

TEST(Playthrough, TheIdleShipHitsTheWallInItsRowUntilNoLifeIsLeft)
{
    // The wall goes on to the map's end: every new ship enters it again.
    Map map = walled();
    for (int column = 23; column < map.columns; ++column)
        map.wall(column, 4, 9);
    HandMadeLevel level(map, NoAliens);
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

TEST(Playthrough, AnAlienRamsAShipThatNeverFiresAndTheAlienIsBlamed)
{
    HandMadeLevel level(Map(40, 15), OneAlien);
    ASSERT_EQ(0, level.loaded);
    PlayReport report = level.play(false);
    ASSERT_EQ(1, report.livesLost());
    EXPECT_EQ(PlayReport::ByAlien, report.deaths[0].cause);
    ASSERT_EQ(1u, report.fates.size());
    EXPECT_EQ(PlayReport::Rammed, report.fates[0].fate);
    EXPECT_EQ(1, report.aliensRammed);
    EXPECT_TRUE(report.endReached);
}

TEST(Autopilot, ShootsTheAlienInItsRow)
{
    HandMadeLevel level(Map(40, 15), OneAlien);
    ASSERT_EQ(0, level.loaded);
    PlayReport report = level.play(true);
    EXPECT_EQ(0, report.livesLost());
    ASSERT_EQ(1u, report.fates.size());
    EXPECT_EQ(PlayReport::Shot, report.fates[0].fate);
    EXPECT_EQ(1, report.aliensShot);
    EXPECT_TRUE(report.endReached);
}

TEST(Autopilot, FindsTheGapInAWallAcrossTheMap)
{
    HandMadeLevel level(gapped(), NoAliens);
    ASSERT_EQ(0, level.loaded);
    PlayReport report = level.play(true);
    EXPECT_EQ(0, report.livesLost());
    EXPECT_TRUE(report.endReached);
    EXPECT_GE(level.play(false).deathsBy(PlayReport::ByTerrain), 1);
}

TEST(Autopilot, LeavesAChannelThatEndsInAWallInTime)
{
    // Once past x 320 the ship can no longer change channels.
    HandMadeLevel level(forked(), NoAliens);
    ASSERT_EQ(0, level.loaded);
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
