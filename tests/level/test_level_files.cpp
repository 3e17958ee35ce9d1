#include <allegro.h>
#include <gtest/gtest.h>

#include <string>

#include "headless/RenderLog.h"
#include "headless/ScratchFiles.h"
#include "level/Level.h"
#include "level/LevelTestData.h"
#include "level/Tileset.h"
#include "render/Renderer.h"

namespace {

class LevelFiles : public testing::Test {
protected:
    void SetUp() override { RenderLog::clear(); }

    // level.dat of two pictures: 64 x 32 with a red left and a blue right half, and 32 x 32 green.
    void writeDatafile()
    {
        BITMAP* first = makeBitmap(64, 32, makecol(255, 0, 0));
        rectfill(first, 32, 0, 63, 31, makecol(0, 0, 255));
        BITMAP* second = makeBitmap(32, 32, makecol(0, 255, 0));
        std::string firstPath = saveBitmap(dir, "first.bmp", first);
        std::string secondPath = saveBitmap(dir, "second.bmp", second);
        destroy_bitmap(first);
        destroy_bitmap(second);
        ASSERT_FALSE(buildDatafile(dir, "level.dat", "'" + firstPath + "' '" + secondPath + "'").empty());
    }

    TempDir dir;
    Renderer renderer;
    Level level{&renderer};
};

}

TEST_F(LevelFiles, LevelWithCrlfLineEndsLoadsFromItsDirectory)
{
    writeDatafile();
    dir.write("level.def", "LEVELDEF Red Sky\r\n{ tileset 1 32 1 1\r\n0\r\n}\r\n{ tileset 0 32 3 2\r\n"
                           "1 0 1\r\n0 1 0\r\n}\r\n");
    ASSERT_EQ(level.load(dir.prefix().c_str()), 0);
    EXPECT_STREQ(level.title, "Red Sky");
    ASSERT_EQ(level.tilesets.size(), 2u);
    EXPECT_EQ(level.mainTileset, level.tilesets[1]);
    Tileset* main = level.mainTileset;
    EXPECT_EQ(main->width, 3);
    EXPECT_EQ(main->height, 2);
    EXPECT_EQ(main->tiles[0].index, 1);
    EXPECT_EQ(main->tiles[3].index, 0);
    ASSERT_EQ(main->tilePictures.size(), 2u);
    EXPECT_EQ(colourAt(main->tilePictures[0], 0, 0), "255,0,0");
    EXPECT_EQ(colourAt(main->tilePictures[1], 31, 31), "0,0,255");
    ASSERT_EQ(level.tilesets[0]->tilePictures.size(), 1u);
    EXPECT_EQ(colourAt(level.tilesets[0]->tilePictures[0], 16, 16), "0,255,0");
    EXPECT_TRUE(RenderLog::alerts.empty());
}

TEST_F(LevelFiles, MissingDatafileIsReportedAndFailsTheLoad)
{
    dir.write("level.def", "LEVELDEF t\n{ tileset 0 32 1 1 0 }\n");
    EXPECT_EQ(level.load(dir.prefix().c_str()), -1);
    ASSERT_EQ(RenderLog::alerts.size(), 1u);
    EXPECT_EQ(RenderLog::alerts[0].line1, "Unable to load");
    EXPECT_EQ(RenderLog::alerts[0].line2, dir.prefix() + "level.dat");
    EXPECT_EQ(RenderLog::alerts[0].line3, "");
    EXPECT_EQ(RenderLog::alerts[0].button, "exit");
    EXPECT_TRUE(level.tilesets.empty());
}

TEST_F(LevelFiles, DatafileThatIsNotADatafileIsReportedLikeAMissingOne)
{
    dir.write("level.def", "LEVELDEF t\n{ tileset 0 32 1 1 0 }\n");
    dir.write("level.dat", "LEVELDEF this is text\n");
    EXPECT_EQ(level.load(dir.prefix().c_str()), -1);
    ASSERT_EQ(RenderLog::alerts.size(), 1u);
    EXPECT_EQ(RenderLog::alerts[0].line1, "Unable to load");
}

TEST_F(LevelFiles, MissingDescriptionIsReportedAndFailsTheLoad)
{
    writeDatafile();
    EXPECT_EQ(level.load(dir.prefix().c_str()), -1);
    ASSERT_EQ(RenderLog::alerts.size(), 1u);
    EXPECT_EQ(RenderLog::alerts[0].line1, "Unable to find");
    EXPECT_EQ(RenderLog::alerts[0].line2, dir.prefix() + "level.def");
    EXPECT_EQ(RenderLog::alerts[0].line3, "");
    EXPECT_EQ(RenderLog::alerts[0].button, "exit");
}

TEST_F(LevelFiles, MissingDescriptionAndDatafileAreBothReportedInThatOrder)
{
    EXPECT_EQ(level.load(dir.prefix().c_str()), -1);
    ASSERT_EQ(RenderLog::alerts.size(), 2u);
    EXPECT_EQ(RenderLog::alerts[0].line1, "Unable to find");
    EXPECT_EQ(RenderLog::alerts[1].line1, "Unable to load");
    EXPECT_EQ(RenderLog::alerts[1].line2, dir.prefix() + "level.dat");
}

TEST_F(LevelFiles, DirectoryWithoutSeparatorLooksBesideIt)
{
    writeDatafile();
    dir.write("level.def", "LEVELDEF t\n{ tileset 0 32 1 1 0 }\n");
    EXPECT_EQ(level.load(dir.path().c_str()), -1);
    ASSERT_EQ(RenderLog::alerts.size(), 2u);
    EXPECT_EQ(RenderLog::alerts[0].line2, dir.path() + "level.def");
    EXPECT_EQ(RenderLog::alerts[1].line2, dir.path() + "level.dat");
}

TEST_F(LevelFiles, DescriptionWithoutAValidBlockFailsWithoutAnAlertOfItsOwn)
{
    writeDatafile();
    dir.write("level.def", "LEVELDEF t\n{ tileset 5 32 1 1 0 }\n");
    EXPECT_EQ(level.load(dir.prefix().c_str()), -1);
    EXPECT_TRUE(RenderLog::alerts.empty());
    EXPECT_TRUE(level.tilesets.empty());
    EXPECT_EQ(level.mainTileset, nullptr);
}

TEST_F(LevelFiles, DescriptionWithAnotherFirstWordFailsWithoutAnAlert)
{
    writeDatafile();
    dir.write("level.def", "ALIENPROTOS\n{ tileset 0 32 1 1 0 }\n");
    EXPECT_EQ(level.load(dir.prefix().c_str()), -1);
    EXPECT_TRUE(RenderLog::alerts.empty());
}
