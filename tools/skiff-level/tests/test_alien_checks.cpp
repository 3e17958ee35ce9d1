#include <allegro.h>
#include <gtest/gtest.h>

#include <string>

#include "AlienChecker.h"
#include "DatafileWriter.h"
#include "Diagnostics.h"
#include "LevelCheck.h"
#include "ToolTestData.h"
#include "core/Game.h"
#include "headless/ScratchFiles.h"
#include "sprites/Explosion.h"

namespace {

// A data directory with bmp/alien.bmp (16 x 16) and the level directory level/: a main tileset
// of 40 x 15 tiles of 16 pixels (640 x 240), empty but for a solid bottom row from y = 224.
class AlienChecks : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(0, system(("mkdir -p '" + data.path() + "/bmp' '" + data.path() + "/level'").c_str()));
        BITMAP* alien = create_bitmap_ex(32, 16, 16);
        clear_to_color(alien, makecol32(0, 200, 0));
        save_bitmap((data.path() + "/bmp/alien.bmp").c_str(), alien, nullptr);
        destroy_bitmap(alien);

        BITMAP* picture = create_bitmap_ex(32, 16, 32);
        clear_to_color(picture, makecol32(255, 0, 255));
        rectfill(picture, 0, 16, 15, 31, makecol32(90, 60, 30));
        DatafileWriter writer;
        writer.addBitmap(picture, "MAIN_BMP");
        writer.write(data.path() + "/level/level.dat");
        destroy_bitmap(picture);
        std::string def = "LEVELDEF Aliens\n{ tileset 0 16 40 15\n";
        for (int r = 0; r < 15; ++r) {
            for (int c = 0; c < 40; ++c)
                def += r == 14 ? "1 " : "0 ";
            def += "\n";
        }
        data.write("level/level.def", def + "}\n");
    }

    int check(const std::string& aliens)
    {
        data.write("level/aliens.def", aliens);
        return run.run(data.path() + "/level", data.path());
    }

    std::string errorAt(const std::string& part) const { return whereIs(diagnostics, Diagnostics::Error, part); }
    std::string warningAt(const std::string& part) const { return whereIs(diagnostics, Diagnostics::Warning, part); }

    TempDir data;
    Diagnostics diagnostics;
    LevelCheck run{nullptr, &diagnostics};
};

}

TEST_F(AlienChecks, PlacementsAreTestedWhereTheGamePutsThemAgainstMapAndTerrain)
{
    EXPECT_EQ(LevelCheck::Failed, check("ALIENPROTOS 1\n"
                                        "0 bmp/alien.bmp 0 0\n"
                                        "ALIENDEF 5\n"
                                        "0 100 100\n"
                                        "0 0 50\n"
                                        "0 300 209\n"
                                        "0 630 100\n"
                                        "0 300 208\n"));
    EXPECT_EQ("5:1", errorAt("the alien at (0, 50) never wakes")) << listed(diagnostics);
    EXPECT_EQ("6:1", errorAt("the alien at (300, 209) is inside solid terrain"));
    EXPECT_EQ("7:1", errorAt("the alien at (630, 100), 16 x 16 pixels, is outside the 640 x 240 pixel map"));
    EXPECT_EQ(3, diagnostics.errorCount()) << listed(diagnostics);
    EXPECT_EQ(5, run.aliensPlaced);
}

TEST_F(AlienChecks, PrototypesTheGameSkipsOrNeverUsesAreNamed)
{
    check("ALIENPROTOS 3\n"
          "0 bmp/alien.bmp 7 0\n"
          "0 bmp/alien.bmp 1 0\n"
          "0 bmp/missing.bmp 0 0\n"
          "ALIENDEF 1\n"
          "0 100 100\n");
    EXPECT_EQ("2:17", errorAt("explosion kind 7 does not exist")) << listed(diagnostics);
    EXPECT_EQ("4:3", warningAt("prototype \"bmp/missing.bmp\" is never used"));
    EXPECT_EQ("4:3", errorAt("picture \"bmp/missing.bmp\" cannot be loaded"));
    EXPECT_EQ(1, run.aliensPlaced);
}

TEST_F(AlienChecks, PositionsBeyondFixedPointAreDroppedLikeTheGameDoes)
{
    check("ALIENPROTOS 1 0 bmp/alien.bmp 0 0\nALIENDEF 2\n0 40000 10\n0 10 -40000\n");
    EXPECT_EQ("3:3", errorAt("x = 40000 is beyond the -32,768 to 32,767")) << listed(diagnostics);
    EXPECT_EQ("4:6", errorAt("y = -40000 is beyond"));
    EXPECT_EQ(0, run.aliensPlaced);
}

TEST_F(AlienChecks, CountsThatDisagreeWithTheEntriesSayWhichWay)
{
    check("ALIENPROTOS 2\n0 bmp/alien.bmp 0 0\nALIENDEF 1\n0 10 10\n");
    EXPECT_EQ("3:1", errorAt("numbers too few: the count says 2 prototypes, found 1, and \"ALIENDEF\" comes"))
        << listed(diagnostics);
    EXPECT_EQ(0, run.aliensPlaced);

    diagnostics = Diagnostics();
    check("ALIENPROTOS 1\n0 bmp/alien.bmp 0 0\n0 bmp/alien.bmp 0 0\nALIENDEF 0\n");
    EXPECT_EQ("3:1", errorAt("numbers too many: the count says 1 prototype, but \"0\" follows")) << listed(diagnostics);

    diagnostics = Diagnostics();
    check("ALIENPROTOS 1\n0 bmp/alien.bmp 0 0\nALIENDEF 1\n0 100 100\n0 120 100\n");
    EXPECT_EQ("5:1", errorAt("numbers too many: the count says 1 placement")) << listed(diagnostics);
    EXPECT_EQ(1, run.aliensPlaced);

    diagnostics = Diagnostics();
    check("ALIENPROTOS 1\n0 bmp/alien.bmp 0 0\nALIENDEF 2\n0 100 100\n");
    EXPECT_EQ("5:1", errorAt("numbers too few: the count says 2 placements, found 1, and the file ends"))
        << listed(diagnostics);
}

TEST_F(AlienChecks, KeywordsAreCaseSensitiveAndPlacementsNeedAPrototype)
{
    check("alienprotos 1 0 bmp/alien.bmp 0 0 ALIENDEF 1 0 10 10\n");
    EXPECT_EQ("1:1", errorAt("must start with \"ALIENPROTOS\", not \"alienprotos\"")) << listed(diagnostics);

    diagnostics = Diagnostics();
    check("ALIENPROTOS 1 5 ALIENDEF 2 0 10 10 0 20 20\n");
    EXPECT_EQ("1:15", warningAt("an entry of type 5 creates nothing")) << listed(diagnostics);
    EXPECT_EQ("1:26", errorAt("no prototype was built, so the game places none of these 2 aliens"));
    EXPECT_EQ(0, run.aliensPlaced);
}

TEST(AlienChecker, ReadsAFileOfOneLineAsTheGameDoes)
{
    Diagnostics diagnostics;
    AlienChecker checker("aliens.def", &diagnostics);
    Game game;
    game.explosionPrototypes.push_back(new Explosion());
    checker.check("ALIENPROTOS 1 0 bmp/a.bmp 0 9 ALIENDEF 1 0 10 20", game);
    ASSERT_EQ(1u, checker.prototypes.size());
    EXPECT_EQ("bmp/a.bmp", checker.prototypes[0].picture);
    ASSERT_EQ(1u, checker.placements.size());
    EXPECT_EQ(10, checker.placements[0].x);
    EXPECT_EQ(20, checker.placements[0].y);
    EXPECT_EQ(0, diagnostics.errorCount() + diagnostics.warningCount()) << listed(diagnostics);
}
