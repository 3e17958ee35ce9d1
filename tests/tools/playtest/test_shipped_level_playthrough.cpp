#include <gtest/gtest.h>

#include "Autopilot.h"
#include "FlightPlan.h"
#include "FreeSpace.h"
#include "Pilot.h"
#include "PlayReport.h"
#include "Playthrough.h"
#include "aliens/Alien.h"
#include "core/DataPaths.h"
#include "core/Game.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "sprites/Player.h"

// The shipped level as the game loads it: these run with data/ as the working directory.
namespace {

class ShippedLevel : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        survey = new Playthrough();
        if (survey->load(DataPaths::Level) != 0)
            return;
        room = new FreeSpace(*survey->game->level, *survey->game->player);
        plan = new FlightPlan(*room);
    }
    static void TearDownTestSuite()
    {
        delete plan;
        delete room;
        delete survey;
    }

    // One game from the start; humanSeed 0 is the plain autopilot.
    static PlayReport play(bool autopilot, unsigned humanSeed)
    {
        PlayReport report;
        Playthrough playthrough;
        if (!plan || playthrough.load(DataPaths::Level) != 0)
            return report;
        Pilot idle;
        Autopilot pilot(*room, *plan);
        if (humanSeed > 0)
            pilot.makeHuman(humanSeed);
        playthrough.play(autopilot ? (Pilot&)pilot : idle, report);
        return report;
    }

    static Playthrough* survey;
    static FreeSpace* room;
    static FlightPlan* plan;
};

Playthrough* ShippedLevel::survey = nullptr;
FreeSpace* ShippedLevel::room = nullptr;
FlightPlan* ShippedLevel::plan = nullptr;

}

TEST_F(ShippedLevel, AtLeastFortyAliensWaitAlongTheWholeMapNoneInTheTerrain)
{
    ASSERT_NE(nullptr, plan) << "level0/ does not load from the working directory";
    const Game& game = *survey->game;
    EXPECT_GE(game.aliens.size(), 40u);

    // Every fifth of the map has aliens of its own, and the last more than the first.
    const int width = game.level->mainTileset->pixelWidth();
    int perFifth[5] = {0, 0, 0, 0, 0};
    for (const Alien* alien : game.aliens) {
        EXPECT_GT(alien->x, 0) << "an alien at x <= 0 never wakes";
        EXPECT_FALSE(alien->hitsTerrain(*game.level)) << "an alien in the terrain explodes at once";
        EXPECT_LE(alien->x + alien->frameWidth, width);
        ++perFifth[(int)alien->x * 5 / width];
    }
    for (int fifth = 0; fifth < 5; ++fifth)
        EXPECT_GE(perFifth[fifth], 5) << "fifth " << fifth;
    EXPECT_GT(perFifth[4], perFifth[0]);
}

TEST_F(ShippedLevel, NobodyAtTheKeysLosesEveryLifeLongBeforeTheEnd)
{
    ASSERT_NE(nullptr, plan);
    PlayReport report = play(false, 0);
    EXPECT_FALSE(report.endReached);
    EXPECT_EQ(5, report.livesLost());
    // The end of the map comes on screen after 16,000 steps.
    EXPECT_LT(report.steps, 12000);
}

TEST_F(ShippedLevel, TheAutopilotFinishesWithLivesToSpareAndNeverHitsAWall)
{
    ASSERT_NE(nullptr, plan);
    PlayReport report = play(true, 0);
    EXPECT_TRUE(report.endReached);
    EXPECT_LE(report.livesLost(), 2);
    EXPECT_EQ(0, report.deathsBy(PlayReport::ByTerrain));
    EXPECT_GT(report.aliens[PlayReport::Shot], report.aliensPlaced / 2);
}

TEST_F(ShippedLevel, GoodButHumanPlayersMostlyFinishButLoseLivesOnTheWay)
{
    ASSERT_NE(nullptr, plan);
    const int players = 6;
    int finished = 0;
    int livesLost = 0;
    for (unsigned seed = 1; seed <= (unsigned)players; ++seed) {
        PlayReport report = play(true, seed);
        finished += report.endReached;
        livesLost += report.livesLost();
        EXPECT_EQ(0, report.deathsBy(PlayReport::ByTerrain)) << "seed " << seed;
    }
    EXPECT_GE(finished, 4);
    EXPECT_GE(livesLost, players) << "the aliens hardly threaten a good player";
}
