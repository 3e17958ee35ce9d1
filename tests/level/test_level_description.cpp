#include <allegro.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "headless/RenderLog.h"
#include "headless/ScratchFiles.h"
#include "level/Level.h"
#include "level/LevelTestData.h"
#include "level/Tileset.h"
#include "render/Renderer.h"

namespace {

class LevelDescription : public LevelTest {
protected:
    void SetUp() override
    {
        LevelTest::SetUp();
        // Picture 0: 32 x 128, tiles 0 to 3.
        datafile.addBitmap(makeBitmap(32, 128, makecol(255, 0, 0)));
    }

    // The grid numbers of every tileset of a level, one string per tileset.
    static std::string grids(const Level& level)
    {
        std::string all;
        for (const Tileset* tileset : level.tilesets) {
            if (!all.empty())
                all += "|";
            for (size_t i = 0; i < tileset->tiles.size(); ++i)
                all += (i ? " " : "") + std::to_string(tileset->tiles[i].index);
        }
        return all;
    }
};

}

// Each row: a description and the title and grids the game keeps of it.
TEST_F(LevelDescription, KeepsTheTitleAndEveryBlockThatReadsCorrectly)
{
    struct Case {
        const char* name;
        std::string text;
        std::string title;
        const char* grids;
    };
    const Case cases[] = {
        {"title on the keyword's line is the rest of that line", "LEVELDEF   The  Caves \n{ tileset 0 32 1 1 1 }\n",
         "The  Caves ", "1"},
        {"title on the line after the keyword is found", "  LEVELDEF\n\n\tDeep Water\n{ tileset 0 32 1 1 2 }\n",
         "Deep Water", "2"},
        {"CRLF line ends read like plain ones",
         "LEVELDEF Dune\r\n{ tileset 0 32 2 1\r\n1 2\r\n}\r\n{ tileset 0 32 1 1\r\n3\r\n}\r\n", "Dune", "1 2|3"},
        {"a missing title swallows the first line of the first block",
         "LEVELDEF\n{ tileset 0 32 2 1\n1 2\n}\n{ tileset 0 32 1 1 3 }\n", "{ tileset 0 32 2 1", "3"},
        {"an overlong title is cut and the rest of its line dropped",
         "LEVELDEF " + std::string(200, 't') + "\n{ tileset 0 32 1 1 1 }\n", std::string(127, 't'), "1"},
        {"junk between blocks is dropped token by token",
         "LEVELDEF t\n{ tileset 0 32 1 1 1 }\njunk 42 } tileset\n{ tileset 0 32 2 1 2 3 }\n", "t", "1|2 3"},
        {"a missing closing brace also loses the block whose brace it took",
         "LEVELDEF t\n{ tileset 0 32 1 1 1\n{ tileset 0 32 1 1 2 }\n{ tileset 0 32 2 1 3 3 }\n", "t", "3 3"},
        {"a block with one grid number too few ends the file",
         "LEVELDEF t\n{ tileset 0 32 1 1 3 }\n{ tileset 0 32 2 1 1 }\n{ tileset 0 32 1 1 2 }\n", "t", "3"},
        {"a block with one grid number too many is dropped and the next one read",
         "LEVELDEF t\n{ tileset 0 32 1 1 1 2 }\n{ tileset 0 32 1 1 3 }\n", "t", "3"},
        {"a closing brace glued to the next opening one loses both blocks",
         "LEVELDEF t\n{ tileset 0 32 1 1 1 }{ tileset 0 32 1 1 2 }\n{ tileset 0 32 1 1 3 }", "t", "3"},
        // Numbers are read as the standard streams read them: digits end where the brace begins.
        {"a closing brace glued to the last grid number still closes", "LEVELDEF t\n{ tileset 0 32 2 1 1 2}\n", "t",
         "1 2"},
        {"the last brace at the very end of the file keeps its block",
         "LEVELDEF t\n{ tileset 0 32 1 1 1 }\n{ tileset 0 32 1 1 2 }", "t", "1|2"},
    };
    for (const Case& c : cases) {
        Level fresh(&renderer);
        std::istringstream in(c.text);
        ASSERT_EQ(fresh.readDescription(in, datafile.get()), 0) << c.name;
        EXPECT_EQ(std::string(fresh.title), c.title) << c.name;
        EXPECT_EQ(grids(fresh), c.grids) << c.name;
    }
}

TEST_F(LevelDescription, KeywordMustComeFirstAndInCapitals)
{
    EXPECT_EQ(read("leveldef t\n{ tileset 0 32 1 1 1 }\n"), -1);
    EXPECT_EQ(read("{ tileset 0 32 1 1 1 }\n"), -1);
    EXPECT_EQ(read("LEVELDEFS t\n{ tileset 0 32 1 1 1 }\n"), -1);
    EXPECT_EQ(read(""), -1);
    EXPECT_TRUE(level.tilesets.empty());
    EXPECT_EQ(level.mainTileset, nullptr);
    EXPECT_TRUE(RenderLog::alerts.empty());
}

TEST_F(LevelDescription, DescriptionWithoutAValidBlockFails)
{
    EXPECT_EQ(read("LEVELDEF nothing here\n"), -1);
    EXPECT_EQ(read("LEVELDEF"), -1);
    EXPECT_EQ(read("LEVELDEF t\n{ tileset 0 32 1 1 9 }\n{ tileset 7 32 1 1 0 }\n{ tileset 0 0 1 1 0 }\n"), -1);
    EXPECT_TRUE(level.tilesets.empty());
    EXPECT_EQ(level.mainTileset, nullptr);
}

TEST_F(LevelDescription, LastBlockBecomesTheBoundedMainTileset)
{
    ASSERT_EQ(read("LEVELDEF t\n" + emptyBlock(0, 32, 15, 9) + emptyBlock(0, 32, 40, 15)), 0);
    ASSERT_EQ(level.tilesets.size(), 2u);
    Tileset* main = level.tilesets[1];
    EXPECT_EQ(level.mainTileset, main);
    EXPECT_TRUE(main->bounded);
    EXPECT_EQ(main->factorX, 1.0);
    EXPECT_EQ(main->factorY, 1.0);
    EXPECT_EQ(main->scrollX, 0.0);
    EXPECT_EQ(main->scrollY, 0.0);
    EXPECT_FALSE(level.tilesets[0]->bounded);
    EXPECT_EQ(level.tilesets[0]->scrollX, 0.0);
    EXPECT_EQ(level.tilesets[0]->scrollY, 0.0);
}

TEST_F(LevelDescription, BackgroundLayersGetFactorsThatBringTheirFarEdgesInTogether)
{
    // Main: 40 x 15 tiles of 32 = 1280 x 480, so 960 x 240 pixels to scroll.
    // Far layer: 30 x 9 tiles of 16 = 480 x 144: (480 - 320) / 960 and (144 - 240) / 240.
    // Near layer: 20 x 12 tiles of 32 = 640 x 384: (640 - 320) / 960 and (384 - 240) / 240.
    ASSERT_EQ(read("LEVELDEF t\n" + emptyBlock(0, 16, 30, 9) + emptyBlock(0, 32, 20, 12) + emptyBlock(0, 32, 40, 15)),
              0);
    ASSERT_EQ(level.tilesets.size(), 3u);
    EXPECT_DOUBLE_EQ(level.tilesets[0]->factorX, 1.0 / 6.0);
    EXPECT_DOUBLE_EQ(level.tilesets[0]->factorY, -0.4);
    EXPECT_DOUBLE_EQ(level.tilesets[1]->factorX, 1.0 / 3.0);
    EXPECT_DOUBLE_EQ(level.tilesets[1]->factorY, 0.6);
}

TEST_F(LevelDescription, MainTilesetAsLargeAsTheScreenLeavesBackgroundFactorsHarmless)
{
    // Main 10 x 7.5 tiles of 32 is exactly 320 x 240: it never scrolls, so the factor is never used.
    ASSERT_EQ(read("LEVELDEF t\n" + emptyBlock(0, 32, 20, 12) + emptyBlock(0, 16, 20, 15)), 0);
    Tileset* background = level.tilesets[0];
    EXPECT_TRUE(background->factorX == background->factorX);
    EXPECT_TRUE(background->factorY == background->factorY);
    for (int step = 0; step < 100; ++step)
        level.update(0, 200);
    EXPECT_EQ(background->scrollX, 0.0);
    EXPECT_EQ(background->scrollY, 0.0);
}
