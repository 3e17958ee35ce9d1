#include <gtest/gtest.h>

#include <string>

#include "Diagnostics.h"
#include "LevelDirectoryCheck.h"
#include "ToolTestData.h"
#include "core/DataPaths.h"
#include "headless/ScratchFiles.h"

namespace {

// A data directory with the sprite pictures (the alien 16 x 16) and a level directory whose main
// tileset is 40 x 15 tiles of 16 pixels (640 x 240), empty but for a solid bottom row from y = 224.
class AlienChecks : public testing::Test {
protected:
    void SetUp() override
    {
        writeSpritePictures(data);
        writeLevelDirectory(data, 40, 15, floorGrid(40, 15, true), "");
    }

    int check(const std::string& aliens)
    {
        data.write(std::string(DataPaths::Level) + DataPaths::AlienFile, aliens);
        return run.run(data.path() + "/" + DataPaths::Level);
    }

    TempDir data;
    Diagnostics diagnostics;
    LevelDirectoryCheck run{data.path(), &diagnostics};
};

}

// Each row: an aliens.def, one diagnostic for it and where ("" when there is none), and the aliens the game places.
TEST_F(AlienChecks, NameWhereAndWhyTheGameSkipsOrMisplacesAnAlien)
{
    const Diagnostics::Severity E = Diagnostics::Error, W = Diagnostics::Warning;
    const std::string placed = "ALIENPROTOS 1\n0 bmp/alien.bmp 0 0\nALIENDEF 5\n0 100 100\n0 0 50\n0 300 209\n0 630 100\n"
                               "0 300 208\n";
    const std::string prototypes =
        "ALIENPROTOS 3\n0 bmp/alien.bmp 7 0\n0 bmp/alien.bmp 1 0\n0 bmp/missing.bmp 0 0\nALIENDEF 1\n0 100 100\n";
    const std::string far = "ALIENPROTOS 1 0 bmp/alien.bmp 0 0\nALIENDEF 2\n0 40000 10\n0 10 -40000\n";
    const std::string typeless = "ALIENPROTOS 1 5 ALIENDEF 2 0 10 10 0 20 20\n";
    // The game builds 64 prototypes and places 65,536 aliens at most: the 65th prototype stands on line
    // 2 + 64, the 65,537th placement on line 4 + 65,536.
    std::string manyPrototypes = "ALIENPROTOS 66\n";
    for (int i = 0; i < 66; ++i)
        manyPrototypes += "0 bmp/alien.bmp 0 0\n";
    manyPrototypes += "ALIENDEF 1\n0 100 100\n";
    std::string manyAliens = "ALIENPROTOS 1\n0 bmp/alien.bmp 0 0\nALIENDEF 65538\n";
    for (int i = 0; i < 65538; ++i)
        manyAliens += "0 100 100\n";
    struct Case {
        std::string text;
        Diagnostics::Severity severity;
        const char* part;
        const char* at;
        int placed;
    };
    const Case cases[] = {
        {placed, E, "the alien at (0, 50) never wakes", "5:1", 5},
        {placed, E, "the alien at (300, 209) is inside solid terrain", "6:1", 5},
        {placed, E, "the alien at (630, 100), 16 x 16 pixels, is outside the 640 x 240 pixel map", "7:1", 5},
        {placed, E, "(300, 208)", "", 5},
        {placed, E, "(100, 100)", "", 5},
        {prototypes, E, "explosion kind 7 does not exist", "2:17", 1},
        {prototypes, W, "prototype \"bmp/missing.bmp\" is never used", "4:3", 1},
        {prototypes, E, "picture \"bmp/missing.bmp\" cannot be loaded", "4:3", 1},
        {far, E, "x = 40000 is beyond the -32,768 to 32,767", "3:3", 0},
        {far, E, "y = -40000 is beyond", "4:6", 0},
        {"ALIENPROTOS 2\n0 bmp/alien.bmp 0 0\nALIENDEF 1\n0 10 10\n", E,
         "numbers too few: the count says 2 prototypes, found 1, and \"ALIENDEF\" comes", "3:1", 0},
        {"ALIENPROTOS 1\n0 bmp/alien.bmp 0 0\n0 bmp/alien.bmp 0 0\nALIENDEF 0\n", E,
         "numbers too many: the count says 1 prototype, but \"0\" follows", "3:1", 0},
        {"ALIENPROTOS 1\n0 bmp/alien.bmp 0 0\nALIENDEF 1\n0 100 100\n0 120 100\n", E,
         "numbers too many: the count says 1 placement", "5:1", 1},
        {"ALIENPROTOS 1\n0 bmp/alien.bmp 0 0\nALIENDEF 2\n0 100 100\n", E,
         "numbers too few: the count says 2 placements, found 1, and the file ends", "5:1", 1},
        {"alienprotos 1 0 bmp/alien.bmp 0 0 ALIENDEF 1 0 10 10\n", E,
         "must start with \"ALIENPROTOS\", not \"alienprotos\"", "1:1", 0},
        {typeless, W, "an entry of type 5 creates nothing", "1:15", 0},
        {typeless, E, "no prototype was built, so the game places none of these 2 aliens", "1:26", 0},
        {"ALIENPROTOS 1 0 bmp/alien.bmp 0 0 ALIENDEF 1 0 10 20", E, "", "", 1},
        {manyPrototypes, E, "the game builds at most 64 prototypes: it skips this one and every one after it", "66:3",
         1},
        {manyAliens, E, "the game places at most 65,536 aliens: it skips this placement and every one after it",
         "65540:1", 65536},
    };
    for (const Case& c : cases) {
        diagnostics = Diagnostics();
        check(c.text);
        EXPECT_EQ(c.at, whereIs(diagnostics, c.severity, c.part))
            << c.text.substr(0, 200) << "\n" << listed(diagnostics);
        EXPECT_EQ(c.placed, run.aliensPlaced) << c.text.substr(0, 200);
    }
}
