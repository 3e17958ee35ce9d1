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
    void writeDatafile(const TempDir& into)
    {
        BITMAP* first = makeBitmap(64, 32, makecol(255, 0, 0));
        rectfill(first, 32, 0, 63, 31, makecol(0, 0, 255));
        BITMAP* second = makeBitmap(32, 32, makecol(0, 255, 0));
        std::string firstPath = saveBitmap(into, "first.bmp", first);
        std::string secondPath = saveBitmap(into, "second.bmp", second);
        destroy_bitmap(first);
        destroy_bitmap(second);
        ASSERT_FALSE(buildDatafile(into, "level.dat", "'" + firstPath + "' '" + secondPath + "'").empty());
    }

    TempDir dir;
    Renderer renderer;
    Level level{&renderer};
};

}

TEST_F(LevelFiles, LevelWithCrlfLineEndsLoadsFromItsDirectory)
{
    writeDatafile(dir);
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

// Each row: what the level directory holds, whether it is named with its separator, and the
// alerts of the failed load ("DIR" stands for the directory's path).
TEST_F(LevelFiles, FailedLoadAlertsWithThePathOfEveryFileItCouldNotUse)
{
    struct Case {
        const char* name;
        bool description;
        const char* datafile;  // null: none; empty: a real one; else written as it is
        bool separator;
        const char* alerts;
    };
    const Case cases[] = {
        {"a missing datafile", true, nullptr, true, "Unable to load|DIR/level.dat||exit"},
        {"a datafile that is text", true, "LEVELDEF this is text\n", true, "Unable to load|DIR/level.dat||exit"},
        {"a missing description", false, "", true, "Unable to find|DIR/level.def||exit"},
        {"both missing, in that order", false, nullptr, true,
         "Unable to find|DIR/level.def||exit; Unable to load|DIR/level.dat||exit"},
        {"a directory without separator, looked for beside it", true, "", false,
         "Unable to find|DIRlevel.def||exit; Unable to load|DIRlevel.dat||exit"},
    };
    for (const Case& c : cases) {
        TempDir files;
        if (c.description)
            files.write("level.def", "LEVELDEF t\n{ tileset 0 32 1 1 0 }\n");
        if (c.datafile && *c.datafile)
            files.write("level.dat", c.datafile);
        else if (c.datafile)
            writeDatafile(files);
        RenderLog::clear();
        Level failed(&renderer);
        EXPECT_EQ(failed.load((c.separator ? files.prefix() : files.path()).c_str()), -1) << c.name;
        std::string alerts;
        for (const AlertCall& alert : RenderLog::alerts)
            alerts += (alerts.empty() ? "" : "; ") + alert.line1 + "|" + alert.line2 + "|" + alert.line3 + "|" +
                      alert.button;
        std::string expected = c.alerts;
        for (size_t at = expected.find("DIR"); at != std::string::npos; at = expected.find("DIR"))
            expected.replace(at, 3, files.path());
        EXPECT_EQ(alerts, expected) << c.name;
        EXPECT_TRUE(failed.tilesets.empty()) << c.name;
    }
}

TEST_F(LevelFiles, DescriptionWithoutAValidBlockFailsWithoutAnAlertOfItsOwn)
{
    writeDatafile(dir);
    dir.write("level.def", "LEVELDEF t\n{ tileset 5 32 1 1 0 }\n");
    EXPECT_EQ(level.load(dir.prefix().c_str()), -1);
    EXPECT_TRUE(RenderLog::alerts.empty());
    EXPECT_TRUE(level.tilesets.empty());
    EXPECT_EQ(level.mainTileset, nullptr);
}

TEST_F(LevelFiles, DescriptionWithAnotherFirstWordFailsWithoutAnAlert)
{
    writeDatafile(dir);
    dir.write("level.def", "ALIENPROTOS\n{ tileset 0 32 1 1 0 }\n");
    EXPECT_EQ(level.load(dir.prefix().c_str()), -1);
    EXPECT_TRUE(RenderLog::alerts.empty());
}
