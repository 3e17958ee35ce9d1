#include <gtest/gtest.h>

#include <string>

#include "FreeSpace.h"
#include "Pilot.h"
#include "PlayReport.h"
#include "Playthrough.h"
#include "core/DataPaths.h"
#include "core/Game.h"
#include "headless/ScratchFiles.h"
#include "headless/WorkingDirectory.h"
#include "sprites/Player.h"

// Hand-made levels of 40 x 15 cells of 16 pixels (640 x 240, so they never scroll vertically), played
// from inside their directory, with a solid bottom row and a wall across the ship's row at x 352 to
// 368, rows 1 to 13. The test pictures are fully opaque, so the ship is a 24 x 12 block and an alien a
// 16 x 16 block. The ship enters at y 100.
namespace {

class HandMadeLevel {
public:
    // With closed, rows 4 to 9 are solid from the wall to the map's end.
    HandMadeLevel(bool closed, const std::string& aliens)
    {
        std::vector<int> grid;
        for (int row = 0; row < 15; ++row) {
            for (int column = 0; column < 40; ++column)
                grid.push_back(row == 14 || (column == 22 && row >= 1 && row <= 13) ||
                               (closed && column > 22 && row >= 4 && row <= 9));
        }
        writeSpritePictures(dir);
        writeLevelDirectory(dir, 40, 15, grid, aliens);
        inside = new WorkingDirectory(dir.path());
        loaded = game.load(DataPaths::Level);
    }
    ~HandMadeLevel() { delete inside; }

    TempDir dir;
    WorkingDirectory* inside = nullptr;
    Playthrough game;
    int loaded = -1;
};

const char* const NoAliens = "ALIENPROTOS 1\n0 bmp/alien.bmp 1 0\nALIENDEF 0\n";

}

TEST(FreeSpace, TheShipFitsUpToTheWallsAndInTheUntestedTopRow)
{
    HandMadeLevel level(false, NoAliens);
    ASSERT_EQ(0, level.loaded);
    FreeSpace room(*level.game.game->level, *level.game.game->player);
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
        EXPECT_EQ(place.fits, room.fits(place.x, place.y)) << place.why;
}

TEST(Playthrough, TheIdleShipHitsTheWallInItsRowUntilNoLifeIsLeft)
{
    // The wall goes on to the map's end: every new ship enters it again.
    HandMadeLevel level(true, NoAliens);
    ASSERT_EQ(0, level.loaded);
    Pilot idle;
    PlayReport report;
    level.game.play(idle, report);
    ASSERT_EQ(5, report.livesLost());
    EXPECT_FALSE(report.endReached);
    EXPECT_EQ(5, report.deathsBy(PlayReport::ByTerrain));
    // It flies into the wall at x 352 with its right edge: x just past 328.
    EXPECT_GT(report.deaths[0].x, 328.0);
    EXPECT_LE(report.deaths[0].x, 330.2);
    EXPECT_EQ(100.0, report.deaths[0].y);
}
