#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "Diagnostics.h"
#include "LevelDefChecker.h"
#include "ToolTestData.h"
#include "headless/MemoryDatafile.h"
#include "headless/ScratchFiles.h"
#include "level/Level.h"
#include "level/LevelText.h"
#include "level/Tileset.h"

namespace {

class LevelChecking : public testing::Test {
protected:
    void SetUp() override
    {
        pictures.addBitmap(tilesetPicture(2, 2, 16));           // picture 0: 32 x 32, tiles 0 to 3
        pictures.addData();                                     // object 1: not a bitmap
        pictures.addBitmap(create_bitmap_ex(32, 40, 24));       // picture 2: 2 tiles and spare pixels
    }

    int check(const std::string& text)
    {
        lastText = text;
        delete checked;
        checked = new Level(nullptr);
        return checker.check(text, pictures.get(), *checked);
    }

    void TearDown() override { delete checked; }

    // The grids of the tilesets a Level keeps: read with the checker as its diagnostics sink, and read without one.
    static std::string grids(const Level& level)
    {
        std::string all;
        for (const Tileset* tileset : level.tilesets) {
            all += "|" + std::to_string(tileset->width) + "x" + std::to_string(tileset->height) + ":";
            for (const Tile& tile : tileset->tiles)
                all += " " + std::to_string(tile.index);
        }
        return all;
    }

    std::string gameGrids() const
    {
        Level level(nullptr);
        std::istringstream in(lastText);
        level.readDescription(in, pictures.get());
        return grids(level);
    }

    MemoryDatafile pictures;
    Diagnostics diagnostics;
    LevelDefChecker checker{"level.def", &diagnostics};
    Level* checked = nullptr;
    std::string lastText;
};

}

// Each row: a level.def, one diagnostic the checker gives for it and where ("" when there is none),
// the grids the game keeps of it (null: not compared), and the load's result. The checker always keeps
// the blocks the game keeps, and blames a token outside any block only where the row says so. A closing
// brace missing loses the next block too; past a word where a number belongs the game reads no more;
// a titleless keyword takes the first block's line as the title; a tile size below 1 drops the block
// before its grid, which is not blamed again; a picture that is no multiple of the tile size is a warning
// only; a main layer of the screen's size is fine, and so is a map one tile narrower than the aliens'
// fixed point holds.
TEST_F(LevelChecking, NamesWhereAndWhyTheGameDropsABlock)
{
    const Diagnostics::Severity E = Diagnostics::Error, W = Diagnostics::Warning, N = Diagnostics::Note;
    const std::string keywords = "LEVELDEF T\n{ tilesets 0 16 1 1 1 }\n{ Tileset 0 16 1 1 2 }\n{ tileset 0 16 1 1 3 }\n";
    const std::string wordInGrid = "LEVELDEF T\n{ tileset 0 16 2 1\n 1 x }\n{ tileset 0 16 1 1 1 }\n";
    const std::string titleless = "LEVELDEF\n{ tileset 0 16 2 1\n1 2 }\n{ tileset 0 16 1 1 3 }\n";
    const std::string indexes = "LEVELDEF T\n{ tileset 3 16 1 1 0 }\n{ tileset 1 16 1 1 0 }\n";
    const std::string tileBeyond = "LEVELDEF T\n{ tileset 0 16 3 1 0 4 260 }\n";
    const std::string narrow = LevelText::description(
        "T", {{0, 16, 19, 15, floorGrid(19, 15, true)}, {0, 16, 20, 15, floorGrid(20, 15, true)}});
    auto wide = [](int width) { return LevelText::description("T", {{0, 16, width, 15, floorGrid(width, 15, false)}}); };
    struct Case {
        std::string text;
        Diagnostics::Severity severity;
        const char* part;
        const char* at;
        const char* grids;
        int result;
    };
    const Case cases[] = {
        {"LEVELDEF T\n{ tileset 0 16 1 1 1\n{ tileset 0 16 1 1 2 }\n", E, "\"}\" is missing after the grid", "3:1", "", -1},
        {keywords, E, "not \"Tileset\" (keywords are case-sensitive)", "3:3", "|1x1: 3", 0},
        {"LEVELDEF T\n{tileset 0 16 1 1 1 }\n{ tileset 0 16 1 1 3 }\n", E,
         "7 tokens from \"{tileset\" on stand outside any block", "2:1", "|1x1: 3", 0},
        {"LEVELDEF T\n{ tileset 0 16 1 1 1 }\n  }\n{ tileset 0 16 1 1 3 }\n", E, "\"}\" stands outside any block", "3:3",
         "|1x1: 1|1x1: 3", 0},
        {wordInGrid, E, "\"x\" stands where the tile number of column 1, row 0", "3:4", "", -1},
        {wordInGrid, N, "the 1 block after it is lost too", "3:4", "", -1},
        {"LEVELDEF T\n{ tileset 0 sixteen 1 1 1 }\n", E, "\"sixteen\" stands where the tile size belongs", "2:13", "", -1},
        {"LEVELDEF T\n{ tileset 0 16 1 1 4294967296 }\n{ tileset 0 16 1 1 1 }\n", E, "does not fit in 32 bits", "2:20",
         "", -1},
        {"LEVELDEF T\n{ tileset 0 16 2 2\n1 2\n3 }\n", E, "needs 4 numbers, found 3, and \"}\" comes", "4:3", "", -1},
        {"LEVELDEF T\n{ tileset 0 16 2 2\n1 2\n3", E, "needs 4 numbers, found 3, and the file ends", "4:2", "", -1},
        {"LEVELDEF T\n{ tileset 0 16 2 }\n", E, "header needs 4 numbers after \"tileset\", found 3, and \"}\" comes",
         "2:18", "", -1},
        {"LEVELDEF T\n{ tileset 0 16 2 1\n1 2 3 0 }\n{ tileset 0 16 1 1 1 }\n", E,
         "the grid of 2 x 1 cells takes 2 numbers, and 2 more follow", "3:5", "|1x1: 1", 0},
        {titleless, E, "no title on its line, so this line is taken as the title", "2:1", "|1x1: 3", 0},
        {titleless, N, "the rest of that block, 3 tokens, is skipped", "3:1", "|1x1: 3", 0},
        {indexes, E, "picture index 3 is beyond level.dat, which holds 3 objects (0 to 2)", "2:11", "", -1},
        {indexes, E, "picture index 1 names a \"DATA\" object of level.dat, not a bitmap", "3:11", "", -1},
        {tileBeyond, E, "tile 4 is beyond the 4 tiles that picture 0 (32 x 32 pixels)", "2:22", "", -1},
        {tileBeyond, W, "tile number 260 is read as 4: only its low 8 bits count", "2:24", "", -1},
        {"LEVELDEF T\n{ tileset 2 16 1 1 1 }\n", W,
         "40 x 24 pixels, not a multiple of the tile size 16: its last 8 pixel columns and 8 pixel rows", "2:13",
         "|1x1: 1", 0},
        {"LEVELDEF T\n{ tileset 0 0 2 1 1 1 }\n{ tileset 0 16 1 1 2 }\n", E, "the tile size must be at least 1", "2:13",
         "|1x1: 2", 0},
        {narrow, E, "layer 0 is 304 x 240 pixels, smaller than the 320 x 240 screen", "2:1", nullptr, 0},
        {narrow, E, "layer 1", "", nullptr, 0},
        {wide(2048), E, "the main tileset is 32768 x 240 pixels", "2:1", nullptr, 0},
        {wide(2047), E, "", "", nullptr, 0},
        {"leveldef T\n{ tileset 0 16 1 1 0 }\n", E, "must start with \"LEVELDEF\", not \"leveldef\"", "1:1", "", -1},
        {"LEVELDEF T\n", E, "no tileset block reads correctly", "1:1", "", -1},
    };
    for (const Case& c : cases) {
        diagnostics = Diagnostics();
        SCOPED_TRACE(c.text.substr(0, 80) + " -> " + c.part);
        EXPECT_EQ(c.result, check(c.text));
        EXPECT_EQ(c.at, whereIs(diagnostics, c.severity, c.part)) << listed(diagnostics);
        EXPECT_EQ(c.grids ? c.grids : grids(*checked), grids(*checked));
        EXPECT_EQ(gameGrids(), grids(*checked));
        EXPECT_EQ(strstr(c.part, "outside any block") != nullptr,
                  findEntry(diagnostics, Diagnostics::Error, "outside any block") != nullptr);
    }
    check(titleless);
    EXPECT_STREQ("{ tileset 0 16 2 1", checked->title);
}

// Every block cuts its own tile pictures, so a short description naming a large picture many times
// would take memory without end. A picture of 1024 x 1024 in tiles of 64 yields 256 tiles of 4,096
// pixels, 1,048,576 pixels a block: 24 blocks come to exactly the game's 25,165,824, and the 25th,
// on line 26, brings 26,214,400.
TEST(LevelTilePictures, TheGameRefusesALevelWhoseBlocksCutMoreTilePixelsThanItHolds)
{
    MemoryDatafile pictures;
    pictures.addBitmap(create_bitmap_ex(32, 1024, 1024));
    for (int blocks : {24, 25}) {
        std::string text = "LEVELDEF Many\n";
        for (int i = 0; i < blocks; ++i)
            text += "{ tileset 0 64 1 1 0 }\n";
        Diagnostics diagnostics;
        LevelDefChecker checker("level.def", &diagnostics);
        Level checked(nullptr);
        EXPECT_EQ(blocks == 24 ? 0 : -1, checker.check(text, pictures.get(), checked)) << blocks;
        Level played(nullptr);
        std::istringstream in(text);
        EXPECT_EQ(blocks == 24 ? 0 : -1, played.readDescription(in, pictures.get())) << blocks;
        EXPECT_EQ(blocks == 24 ? "" : "26:1",
                  whereIs(diagnostics, Diagnostics::Error, "the tile pictures come to 26,214,400 pixels, more than "
                                                           "the game's 25,165,824"))
            << listed(diagnostics);
    }
}

// A hostile file can hold millions of faults: the first thousand diagnostics are kept and printed, the
// rest only counted. Each "{ {" line is one fault, the "{" that stands where "tileset" belongs.
TEST_F(LevelChecking, OnlyTheFirstThousandDiagnosticsAreKeptAndTheRestAreCounted)
{
    std::string text = LevelText::description("T", {{0, 16, 20, 15, floorGrid(20, 15, true)}});
    for (int i = 0; i < 1500; ++i)
        text += "{ {\n";
    check(text);
    EXPECT_EQ(1500, diagnostics.count(Diagnostics::Error));
    EXPECT_EQ(1000u, diagnostics.entries.size());
    char* printed = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&printed, &size);
    diagnostics.print(out);
    fclose(out);
    std::string shown(printed, size);
    free(printed);
    EXPECT_EQ(1001, std::count(shown.begin(), shown.end(), '\n'));
    EXPECT_NE(std::string::npos, shown.find("\n500 more diagnostics are not shown\n"))
        << shown.substr(shown.size() - 300);
}
