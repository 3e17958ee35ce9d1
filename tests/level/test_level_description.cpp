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

class LevelDescription : public testing::Test {
protected:
    void SetUp() override
    {
        RenderLog::clear();
        // Picture 0: 32 x 128, tiles 0 to 3.
        datafile.addBitmap(makeBitmap(32, 128, makecol(255, 0, 0)));
    }

    int read(const std::string& text)
    {
        std::istringstream in(text);
        return level.readDescription(in, datafile.get());
    }

    // The grid numbers of every tileset, one string per tileset.
    std::string grids() const
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

    Renderer renderer;
    Level level{&renderer};
    MemoryDatafile datafile;
};

}

TEST_F(LevelDescription, TitleOnTheKeywordsLineIsTheRestOfThatLine)
{
    ASSERT_EQ(read("LEVELDEF   The  Caves \n{ tileset 0 32 1 1 1 }\n"), 0);
    EXPECT_STREQ(level.title, "The  Caves ");
    EXPECT_EQ(grids(), "1");
}

TEST_F(LevelDescription, TitleOnTheLineAfterTheKeywordIsFound)
{
    ASSERT_EQ(read("  LEVELDEF\n\n\tDeep Water\n{ tileset 0 32 1 1 2 }\n"), 0);
    EXPECT_STREQ(level.title, "Deep Water");
    EXPECT_EQ(grids(), "2");
}

TEST_F(LevelDescription, CrlfLineEndsReadLikePlainOnes)
{
    ASSERT_EQ(read("LEVELDEF Dune\r\n{ tileset 0 32 2 1\r\n1 2\r\n}\r\n{ tileset 0 32 1 1\r\n3\r\n}\r\n"), 0);
    EXPECT_STREQ(level.title, "Dune");
    EXPECT_EQ(grids(), "1 2|3");
}

TEST_F(LevelDescription, MissingTitleSwallowsTheFirstLineOfTheFirstBlock)
{
    ASSERT_EQ(read("LEVELDEF\n{ tileset 0 32 2 1\n1 2\n}\n{ tileset 0 32 1 1 3 }\n"), 0);
    EXPECT_STREQ(level.title, "{ tileset 0 32 2 1");
    EXPECT_EQ(grids(), "3");
}

TEST_F(LevelDescription, OverlongTitleIsCutAndTheRestOfItsLineDropped)
{
    std::string longTitle(200, 't');
    ASSERT_EQ(read("LEVELDEF " + longTitle + "\n{ tileset 0 32 1 1 1 }\n"), 0);
    EXPECT_EQ(std::string(level.title), std::string(127, 't'));
    EXPECT_EQ(grids(), "1");
}

TEST_F(LevelDescription, JunkBetweenBlocksIsDroppedTokenByToken)
{
    ASSERT_EQ(read("LEVELDEF t\n{ tileset 0 32 1 1 1 }\njunk 42 } tileset\n{ tileset 0 32 2 1 2 3 }\n"), 0);
    EXPECT_EQ(grids(), "1|2 3");
}

TEST_F(LevelDescription, MissingClosingBraceAlsoLosesTheBlockWhoseBraceItTook)
{
    ASSERT_EQ(read("LEVELDEF t\n{ tileset 0 32 1 1 1\n{ tileset 0 32 1 1 2 }\n{ tileset 0 32 2 1 3 3 }\n"), 0);
    EXPECT_EQ(grids(), "3 3");
}

TEST_F(LevelDescription, BlockWithOneGridNumberTooFewEndsTheFile)
{
    ASSERT_EQ(read("LEVELDEF t\n{ tileset 0 32 1 1 3 }\n{ tileset 0 32 2 1 1 }\n{ tileset 0 32 1 1 2 }\n"), 0);
    EXPECT_EQ(grids(), "3");
}

TEST_F(LevelDescription, BlockWithOneGridNumberTooManyIsDroppedAndTheNextOneRead)
{
    ASSERT_EQ(read("LEVELDEF t\n{ tileset 0 32 1 1 1 2 }\n{ tileset 0 32 1 1 3 }\n"), 0);
    EXPECT_EQ(grids(), "3");
}

TEST_F(LevelDescription, ClosingBraceGluedToTheNextOpeningOneLosesBothBlocks)
{
    ASSERT_EQ(read("LEVELDEF t\n{ tileset 0 32 1 1 1 }{ tileset 0 32 1 1 2 }\n{ tileset 0 32 1 1 3 }"), 0);
    EXPECT_EQ(grids(), "3");
}

// Numbers are read as the standard streams read them: digits end where the brace begins.
TEST_F(LevelDescription, ClosingBraceGluedToTheLastGridNumberStillCloses)
{
    ASSERT_EQ(read("LEVELDEF t\n{ tileset 0 32 2 1 1 2}\n"), 0);
    EXPECT_EQ(grids(), "1 2");
}

TEST_F(LevelDescription, LastBraceAtTheVeryEndOfTheFileKeepsItsBlock)
{
    ASSERT_EQ(read("LEVELDEF t\n{ tileset 0 32 1 1 1 }\n{ tileset 0 32 1 1 2 }"), 0);
    EXPECT_EQ(grids(), "1|2");
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
