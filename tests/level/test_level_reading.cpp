#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/TextReader.h"
#include "headless/RenderLog.h"
#include "headless/ScratchFiles.h"
#include "level/LevelTestData.h"
#include "level/Tileset.h"
#include "sprites/CollisionMask.h"

using namespace std::string_literals;

namespace {

class TilesetBlock : public LevelTest {
protected:
    // A fresh tileset reads text as one block; what it leaves unread stays in the stream.
    int readBlock(const std::string& text, const DATAFILE* from)
    {
        in.str(text);
        in.clear();
        tileset.reset(new Tileset(&renderer));
        return tileset->read(in, from);
    }

    std::istringstream in;
    std::unique_ptr<Tileset> tileset;
};

using LevelDescription = LevelTest;

// The cells of the tilesets row by row, as "tile" or with their positions as "x,y:tile"; "|" between tilesets.
std::string cells(const std::vector<Tileset*>& tilesets, bool positions)
{
    std::string all;
    for (size_t t = 0; t < tilesets.size(); ++t) {
        all += t ? "|" : "";
        for (const Tile& tile : tilesets[t]->tiles)
            all += (&tile == &tilesets[t]->tiles[0] ? "" : " ") +
                   (positions ? std::to_string(tile.x) + "," + std::to_string(tile.y) + ":" : "") +
                   std::to_string(tile.index);
    }
    return all;
}

}

TEST(LevelTokens, TokensLinesAndNumbersAreReadAsTheFilesNeedThem)
{
    // Any white space separates tokens, carriage returns too; an overlong token is cut, its rest dropped.
    std::istringstream tokens(" {\ttileset\r\n12\r\r}x \n" + std::string(200, 'a') + "\nlast");
    std::string token;
    for (const std::string& word : {"{"s, "tileset"s, "12"s, "}x"s, std::string(127, 'a'), "last"s}) {
        ASSERT_TRUE(TextReader::readToken(tokens, token));
        EXPECT_EQ(token, word);
    }
    EXPECT_FALSE(TextReader::readToken(tokens, token));
    EXPECT_EQ(token, "");

    // A line is cut at 127 characters; only a carriage return right before its line feed belongs to the line end.
    std::istringstream lines(std::string(127, 'q') + "\r\n" + std::string(128, 'r') + "\r\n" + std::string(126, 's') +
                             "\r\r\nlast words");
    std::string line;
    for (const std::string& expected :
         {std::string(127, 'q'), std::string(127, 'r'), std::string(126, 's') + "\r", "last words"s, ""s}) {
        TextReader::readLine(lines, line);
        EXPECT_EQ(line, expected);
    }

    // Numbers are decimal whatever their leading zeros; a word where a number belongs fails the stream.
    std::istringstream numbers("-12 +7 010 0x10 5");
    int32_t value = 0;
    for (int32_t expected : {-12, 7, 10, 0}) {
        ASSERT_TRUE(TextReader::readNumber(numbers, value));
        EXPECT_EQ(value, expected);
    }
    EXPECT_FALSE(TextReader::readNumber(numbers, value));
    EXPECT_FALSE(TextReader::readNumber(numbers, value));
    EXPECT_FALSE(TextReader::readToken(numbers, token));
}

// Each row: a block, its cells as "x,y:tile", how many tile pictures it cuts and its size in pixels.
TEST_F(TilesetBlock, GridIsReadRowByRowIntoEightBitTileNumbers)
{
    // 16-pixel tiles 0 to 5; cut into 1-pixel tiles, more than the 256 a grid can name.
    datafile.addBitmap(makeBitmap(16, 96, makecol(0, 0, 255)));
    struct Case { const char* name; const char* text; const char* cells; size_t pictures; const char* size; };
    const Case cases[] = {
        {"cells one tile apart, whatever the line breaks", "{ tileset 0 16 3 2 0 1\n2 3 4\n5 }",
         "0,0:0 16,0:1 32,0:2 0,16:3 16,16:4 32,16:5", 6, "48x32"},
        {"only the low eight bits of a number count", "{ tileset 0 1 3 1 256 -1 300 }", "0,0:0 1,0:255 2,0:44", 256,
         "3x1"},
        // 16 x 1048576 pixels is exactly 16 x 1024 x 1024; no cell, so no tile picture is needed.
        {"a grid exactly at the size limit", "{ tileset 0 1048576 16 0 }", "", 0, "16777216x0"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(readBlock(c.text, datafile.get()), 0) << c.name;
        EXPECT_EQ(cells({tileset.get()}, true), c.cells) << c.name;
        EXPECT_EQ(tileset->tilePictures.size(), c.pictures) << c.name;
        EXPECT_EQ(std::to_string(tileset->pixelWidth()) + "x" + std::to_string(tileset->pixelHeight()), c.size)
            << c.name;
        EXPECT_EQ(tileset->tiles.capacity(), tileset->tiles.size()) << c.name << ": the grid grew as it was read";
    }
}

TEST_F(TilesetBlock, NamedPictureIsCutDownItsColumnsIntoTilesWithTheirOwnTexturesAndMasks)
{
    // Picture 1, 100 x 64: tile k should be the 32-pixel square at corners[k], of colours[k] (the
    // yellow one's left half transparent); the 4 pixels right of the squares are grey.
    const int corners[6][2] = {{0, 0}, {0, 32}, {32, 0}, {32, 32}, {64, 0}, {64, 32}};
    const int colours[6] = {makecol(255, 0, 0),   makecol(0, 255, 0),   makecol(0, 0, 255),
                            makecol(255, 255, 0), makecol(0, 255, 255), makecol(255, 255, 255)};
    datafile.addBitmap(makeBitmap(32, 32, makecol(0, 0, 0)));
    BITMAP* picture = makeBitmap(100, 64, makecol(128, 128, 128));
    for (int k = 0; k < 6; ++k)
        rectfill(picture, corners[k][0], corners[k][1], corners[k][0] + 31, corners[k][1] + 31, colours[k]);
    rectfill(picture, 32, 32, 47, 63, magenta());
    datafile.addBitmap(picture);

    ASSERT_EQ(readBlock("{ tileset 1 32 1 1 5 }", datafile.get()), 0);
    ASSERT_EQ(tileset->tilePictures.size(), 6u);
    ASSERT_EQ(tileset->masks.size(), 6u);
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE("tile " + std::to_string(k));
        EXPECT_EQ(getpixel(tileset->tilePictures[k], 16, 0), colours[k]);
        EXPECT_EQ(getpixel(tileset->tilePictures[k], 31, 31), colours[k]);
        EXPECT_EQ(tileset->textures[k], k + 1u);
        EXPECT_EQ(tileset->masks[k]->rows[31][0], k == 3 ? 0x0000ffffu : 0xffffffffu);
    }
}

// Each row: a block that is refused with nothing made, and the token after those it consumed
// ("" when it failed the stream).
TEST_F(TilesetBlock, RefusedBlockMakesNothingAndConsumesAKnownNumberOfTokens)
{
    // 0: 64 x 32, tiles 0 and 1; 1: raw data; 2: a picture stored as another type; 3: smaller than a tile.
    datafile.addBitmap(makeBitmap(64, 32, makecol(255, 0, 0)));
    datafile.addData();
    datafile.addBitmap(makeBitmap(32, 32, makecol(255, 0, 0)), DAT_RLE_SPRITE);
    datafile.addBitmap(makeBitmap(20, 20, makecol(255, 0, 0)));
    struct Case { const char* name; const char* text; const char* next; };
    const Case cases[] = {
        {"a first token other than an opening brace", "tileset 0 32 1 1 0 }", "0"},
        {"the keyword in another case", "{ Tileset 0 32 1 1 0 }", "0"},
        {"a brace glued to the keyword", "{tileset 0 32 1 1 0 }", "0"},
        {"a missing closing brace takes the next token", "{ tileset 0 32 2 1 0 0\n{ tileset 0 32 1 1 0 }", "tileset"},
        {"one grid number too few", "{ tileset 0 32 2 1 0 }\n", ""},
        {"one grid number too many leaves the closing brace", "{ tileset 0 32 2 1 0 0 0 }\n", "}"},
        {"a word in place of a header number", "{ tileset 0 big 1 1 0 }", ""},
        // Impossible sizes are refused before the grid is read.
        {"tile size 0", "{ tileset 0 0 1 1 7 }", "7"},
        {"negative tile size", "{ tileset 0 -32 1 1 7 }", "7"},
        {"negative width", "{ tileset 0 32 -1 1 7 }", "7"},
        {"negative height", "{ tileset 0 32 1 -1 7 }", "7"},
        // 4097 x 4097 is 16785409 cells; 17 x 1048576 is 17825792 pixels: both more than 16777216.
        {"too many cells", "{ tileset 0 1 4097 4097 7 }", "7"},
        {"too wide", "{ tileset 0 1048576 17 1 7 }", "7"},
        {"too high", "{ tileset 0 1048576 1 17 7 }", "7"},
        {"width times tile size past 32 bits", "{ tileset 0 2147483647 2 1 7 }", "7"},
        // The picture is checked after the whole block is read.
        {"picture index past the datafile", "{ tileset 4 32 1 1 0 } next", "next"},
        {"negative picture index", "{ tileset -1 32 1 1 0 } next", "next"},
        {"picture index naming raw data", "{ tileset 1 32 1 1 0 } next", "next"},
        {"picture index naming a picture of another type", "{ tileset 2 32 1 1 0 } next", "next"},
        {"tile 2 of two", "{ tileset 0 32 3 1 0 1 2 } next", "next"},
        {"258, tile 2 after the 8-bit cut", "{ tileset 0 32 1 1 258 } next", "next"},
        {"tile 0 of a picture smaller than one tile", "{ tileset 3 32 1 1 0 } next", "next"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readBlock(c.text, datafile.get()), -1) << c.name;
        EXPECT_TRUE(tileset->tilePictures.empty() && tileset->textures.empty() && tileset->masks.empty()) << c.name;
        std::string next;
        EXPECT_TRUE(*c.next ? in >> next && next == c.next : in.fail()) << c.name << ": " << next;
    }
    EXPECT_EQ(readBlock("{ tileset 0 32 1 1 0 }", nullptr), -1) << "no datafile";
    // The 8 characters after this header hold 4 cells at most, not the 16 million it claims.
    EXPECT_EQ(readBlock("{ tileset 0 1 4096 4096 0 1 2 }", datafile.get()), -1);
    EXPECT_LE(tileset->tiles.capacity(), 4u);
    EXPECT_EQ(RenderLog::texturesMade, 0);
}

// Each row: a description and the title and grids the game keeps of it; no grids when it is refused.
TEST_F(LevelDescription, KeepsTheTitleAndEveryBlockThatReadsCorrectly)
{
    // Picture 0: 32 x 128, tiles 0 to 3.
    datafile.addBitmap(makeBitmap(32, 128, makecol(255, 0, 0)));
    struct Case { const char* name; std::string text; std::string title; const char* grids; };
    const Case cases[] = {
        {"title on the keyword's line is the rest of that line", "LEVELDEF   The  Caves \n{ tileset 0 32 1 1 1 }\n",
         "The  Caves ", "1"},
        {"title on the line after the keyword is found", "  LEVELDEF\n\n\tDeep Water\n{ tileset 0 32 1 1 2 }\n",
         "Deep Water", "2"},
        {"CRLF line ends read like plain ones",
         "LEVELDEF Dune\r\n{\r\ntileset 0 32 2 1\r\n1 2\r\n}\r\n{ tileset 0 32 1 1\r\n3\r\n}\r\n", "Dune", "1 2|3"},
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
        {"a refused block is dropped and the next one read",
         "LEVELDEF t\n{ tileset 0 32 1 1 1 2 }\n{ tileset 0 0 1 1 1 }\n{ tileset 0 32 1 1 3 }\n", "t", "3"},
        {"a closing brace glued to the next opening one loses both blocks",
         "LEVELDEF t\n{ tileset 0 32 1 1 1 }{ tileset 0 32 1 1 2 }\n{ tileset 0 32 1 1 3 }", "t", "3"},
        // Numbers are read as the standard streams read them: digits end where the brace begins.
        {"a closing brace glued to the last grid number still closes", "LEVELDEF t\n{ tileset 0 32 2 1 1 2}\n", "t",
         "1 2"},
        {"the last brace at the very end of the file keeps its block",
         "LEVELDEF t\n{ tileset 0 32 1 1 1 }\n{ tileset 0 32 1 1 2 }", "t", "1|2"},
        {"the keyword in lower case", "leveldef t\n{ tileset 0 32 1 1 1 }\n", "", ""},
        {"no keyword", "{ tileset 0 32 1 1 1 }\n", "", ""},
        {"a longer keyword", "LEVELDEFS t\n{ tileset 0 32 1 1 1 }\n", "", ""},
        {"nothing at all", "", "", ""},
        {"the keyword alone", "LEVELDEF", "", ""},
        {"a title and no block", "LEVELDEF nothing here\n", "", ""},
        {"no block that reads", "LEVELDEF t\n{ tileset 0 32 1 1 9 }\n{ tileset 7 32 1 1 0 }\n", "", ""},
    };
    for (const Case& c : cases) {
        Level fresh(&renderer);
        EXPECT_EQ(read(c.text, &fresh), *c.grids ? 0 : -1) << c.name;
        EXPECT_EQ(std::string(*c.grids ? fresh.title : ""), c.title) << c.name;
        EXPECT_EQ(cells(fresh.tilesets, false), c.grids) << c.name;
        EXPECT_EQ(fresh.mainTileset, *c.grids ? fresh.tilesets.back() : nullptr) << c.name;
    }
}
