#include <allegro.h>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "headless/RenderLog.h"
#include "headless/ScratchFiles.h"
#include "level/LevelTestData.h"
#include "level/Tileset.h"
#include "render/Renderer.h"
#include "sprites/CollisionMask.h"

namespace {

class TilesetBlock : public testing::Test {
protected:
    void SetUp() override { RenderLog::clear(); }

    // A fresh tileset reads text as one block; what it leaves unread stays in the stream.
    int read(const std::string& text)
    {
        in.str(text);
        in.clear();
        tileset.reset(new Tileset(&renderer));
        return tileset->read(in, datafile.get());
    }

    std::string nextToken()
    {
        std::string token;
        in >> token;
        return token;
    }

    void expectNothingMade()
    {
        EXPECT_TRUE(tileset->tilePictures.empty());
        EXPECT_TRUE(tileset->textures.empty());
        EXPECT_TRUE(tileset->masks.empty());
        EXPECT_EQ(RenderLog::texturesMade, 0);
    }

    Renderer renderer;
    std::unique_ptr<Tileset> tileset{new Tileset(&renderer)};
    MemoryDatafile datafile;
    std::istringstream in;
};

}

TEST_F(TilesetBlock, TwoByOneGridPlacesItsCellsOneTileApart)
{
    datafile.addBitmap(makeBitmap(64, 64, makecol(0, 0, 255)));
    ASSERT_EQ(read("{ tileset 0 32 2 1\n1 2\n}\n"), 0);
    EXPECT_EQ(tileset->tileSize, 32);
    EXPECT_EQ(tileset->width, 2);
    EXPECT_EQ(tileset->height, 1);
    ASSERT_EQ(tileset->tiles.size(), 2u);
    EXPECT_EQ(tileset->tiles[0].index, 1);
    EXPECT_EQ(tileset->tiles[0].x, 0);
    EXPECT_EQ(tileset->tiles[0].y, 0);
    EXPECT_EQ(tileset->tiles[1].index, 2);
    EXPECT_EQ(tileset->tiles[1].x, 32);
    EXPECT_EQ(tileset->tiles[1].y, 0);
    EXPECT_EQ(tileset->pixelWidth(), 64);
    EXPECT_EQ(tileset->pixelHeight(), 32);
}

TEST_F(TilesetBlock, GridIsReadRowByRowWhateverTheLineBreaks)
{
    datafile.addBitmap(makeBitmap(16, 96, makecol(0, 0, 255)));
    ASSERT_EQ(read("{ tileset 0 16 3 2 0 1\n2 3 4\n5 }"), 0);
    ASSERT_EQ(tileset->tiles.size(), 6u);
    const int expected[6][3] = {{0, 0, 0}, {16, 0, 1}, {32, 0, 2}, {0, 16, 3}, {16, 16, 4}, {32, 16, 5}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(tileset->tiles[i].x, expected[i][0]) << i;
        EXPECT_EQ(tileset->tiles[i].y, expected[i][1]) << i;
        EXPECT_EQ(tileset->tiles[i].index, expected[i][2]) << i;
    }
    EXPECT_EQ(tileset->cellAt(2, 1), &tileset->tiles[5]);
    EXPECT_EQ(tileset->cellAt(0, 1), &tileset->tiles[3]);
}

TEST_F(TilesetBlock, CellsOutsideTheGridAreNull)
{
    datafile.addBitmap(makeBitmap(16, 16, makecol(0, 0, 255)));
    ASSERT_EQ(read("{ tileset 0 16 3 2 0 0 0 0 0 0 }"), 0);
    EXPECT_NE(tileset->cellAt(0, 0), nullptr);
    EXPECT_EQ(tileset->cellAt(-1, 0), nullptr);
    EXPECT_EQ(tileset->cellAt(0, -1), nullptr);
    EXPECT_EQ(tileset->cellAt(3, 0), nullptr);
    EXPECT_EQ(tileset->cellAt(0, 2), nullptr);
    EXPECT_EQ(tileset->cellAt(3, 1), nullptr);
}

TEST_F(TilesetBlock, OnlyTheLowEightBitsOfAGridNumberCount)
{
    // Every pixel of a 16 x 16 picture is a tile of its own: 256 tiles.
    datafile.addBitmap(makeBitmap(16, 16, makecol(0, 0, 255)));
    ASSERT_EQ(read("{ tileset 0 1 3 1 256 -1 300 }"), 0);
    EXPECT_EQ(tileset->tilePictures.size(), 256u);
    EXPECT_EQ(tileset->tiles[0].index, 0);
    EXPECT_EQ(tileset->tiles[1].index, 255);
    EXPECT_EQ(tileset->tiles[2].index, 44);
}

TEST_F(TilesetBlock, PictureIsCutDownItsColumnsIgnoringThePartialColumn)
{
    // Squares in a 100 x 64 picture: column 0 red over green, column 1 blue over
    // yellow, column 2 cyan over white; the 4 pixels right of them grey.
    BITMAP* picture = makeBitmap(100, 64, makecol(128, 128, 128));
    rectfill(picture, 0, 0, 31, 31, makecol(255, 0, 0));
    rectfill(picture, 0, 32, 31, 63, makecol(0, 255, 0));
    rectfill(picture, 32, 0, 63, 31, makecol(0, 0, 255));
    rectfill(picture, 32, 32, 63, 63, makecol(255, 255, 0));
    rectfill(picture, 64, 0, 95, 31, makecol(0, 255, 255));
    rectfill(picture, 64, 32, 95, 63, makecol(255, 255, 255));
    datafile.addBitmap(picture);

    ASSERT_EQ(read("{ tileset 0 32 1 1 5 }"), 0);
    ASSERT_EQ(tileset->tilePictures.size(), 6u);
    EXPECT_EQ(tileset->textures.size(), 6u);
    EXPECT_EQ(tileset->masks.size(), 6u);
    EXPECT_EQ(RenderLog::texturesMade, 6);
    const char* expected[6] = {"255,0,0", "0,255,0", "0,0,255", "255,255,0", "0,255,255", "255,255,255"};
    for (int k = 0; k < 6; ++k) {
        BITMAP* tile = tileset->tilePictures[k];
        EXPECT_EQ(tile->w, 32);
        EXPECT_EQ(tile->h, 32);
        EXPECT_EQ(colourAt(tile, 0, 0), expected[k]) << "tile " << k;
        EXPECT_EQ(colourAt(tile, 31, 31), expected[k]) << "tile " << k;
    }
    // The picture itself is left as it was.
    EXPECT_EQ(colourAt(picture, 99, 0), "128,128,128");
}

TEST_F(TilesetBlock, EachTileGetsItsOwnTextureAndTheMaskOfItsOwnPicture)
{
    BITMAP* picture = makeBitmap(32, 64, makecol(255, 0, 0));
    rectfill(picture, 0, 32, 15, 63, magenta());
    datafile.addBitmap(picture);
    ASSERT_EQ(read("{ tileset 0 32 1 1 1 }"), 0);
    ASSERT_EQ(tileset->masks.size(), 2u);
    EXPECT_EQ(tileset->textures[0], 1u);
    EXPECT_EQ(tileset->textures[1], 2u);
    EXPECT_EQ(tileset->masks[0]->rows[0][0], 0xffffffffu);
    EXPECT_EQ(tileset->masks[1]->rows[0][0], 0x0000ffffu);
    EXPECT_EQ(tileset->masks[1]->rows[31][0], 0x0000ffffu);
}

TEST_F(TilesetBlock, PictureIsTakenFromTheDatafilePositionTheBlockNames)
{
    datafile.addBitmap(makeBitmap(32, 32, makecol(255, 0, 0)));
    datafile.addData();
    datafile.addBitmap(makeBitmap(32, 32, makecol(0, 255, 0)));
    ASSERT_EQ(read("{ tileset 2 32 1 1 0 }"), 0);
    ASSERT_EQ(tileset->tilePictures.size(), 1u);
    EXPECT_EQ(colourAt(tileset->tilePictures[0], 5, 5), "0,255,0");
}

// Each row: a malformed block, and the token after those it consumed ("" when it failed the stream).
TEST_F(TilesetBlock, MalformedBlockFailsAfterAKnownNumberOfTokensWithNothingMade)
{
    struct Case {
        const char* name;
        const char* text;
        const char* next;
    };
    const Case cases[] = {
        {"a first token other than an opening brace", "tileset 0 32 1 1 0 }", "0"},
        {"the keyword in another case", "{ Tileset 0 32 1 1 0 }", "0"},
        {"a brace glued to the keyword, which matches nothing", "{tileset 0 32 1 1 0 }", "0"},
        {"a missing closing brace takes the next token", "{ tileset 0 32 2 1 0 0\n{ tileset 0 32 1 1 0 }", "tileset"},
        {"one grid number too few", "{ tileset 0 32 2 1 0 }\n", ""},
        {"one grid number too many leaves the closing brace", "{ tileset 0 32 2 1 0 0 0 }\n", "}"},
        {"a word in place of a header number", "{ tileset 0 big 1 1 0 }", ""},
    };
    datafile.addBitmap(makeBitmap(32, 32, makecol(255, 0, 0)));
    for (const Case& c : cases) {
        EXPECT_EQ(read(c.text), -1) << c.name;
        EXPECT_TRUE(tileset->tilePictures.empty() && tileset->textures.empty() && tileset->masks.empty()) << c.name;
        if (*c.next)
            EXPECT_EQ(nextToken(), c.next) << c.name;
        else
            EXPECT_TRUE(in.fail()) << c.name;
    }
    EXPECT_EQ(RenderLog::texturesMade, 0);
}

TEST_F(TilesetBlock, ImpossibleSizesAreRefusedBeforeTheGridIsRead)
{
    const char* blocks[] = {
        "{ tileset 0 0 1 1 7 }",
        "{ tileset 0 -32 1 1 7 }",
        "{ tileset 0 32 -1 1 7 }",
        "{ tileset 0 32 1 -1 7 }",
        // 4097 x 4097 cells is 16785409, more than 16 x 1024 x 1024 = 16777216.
        "{ tileset 0 1 4097 4097 7 }",
        // 17 x 1048576 pixels is 17825792, more than 16777216.
        "{ tileset 0 1048576 17 1 7 }",
        "{ tileset 0 1048576 1 17 7 }",
        "{ tileset 0 2147483647 2 1 7 }",
    };
    datafile.addBitmap(makeBitmap(32, 32, makecol(255, 0, 0)));
    for (const char* text : blocks) {
        Tileset refused(&renderer);
        std::istringstream stream(text);
        EXPECT_EQ(refused.read(stream, datafile.get()), -1) << text;
        std::string token;
        stream >> token;
        EXPECT_EQ(token, "7") << text;
        EXPECT_TRUE(refused.tiles.empty()) << text;
        EXPECT_EQ(refused.tiles.capacity(), 0u) << text;
    }
    EXPECT_EQ(RenderLog::texturesMade, 0);
}

TEST_F(TilesetBlock, GridExactlyAtTheSizeLimitsIsAccepted)
{
    datafile.addBitmap(makeBitmap(32, 32, makecol(255, 0, 0)));
    // 16 x 1048576 pixels is exactly 16777216; no cell, so no tile picture is needed.
    EXPECT_EQ(read("{ tileset 0 1048576 16 0 }"), 0);
    EXPECT_EQ(tileset->pixelWidth(), 16777216);
    EXPECT_TRUE(tileset->tilePictures.empty());
}

TEST_F(TilesetBlock, PictureIndexOutsideTheDatafileIsRefusedAfterTheWholeBlock)
{
    datafile.addBitmap(makeBitmap(32, 32, makecol(255, 0, 0)));
    datafile.addBitmap(makeBitmap(32, 32, makecol(0, 255, 0)));
    const char* blocks[] = {"{ tileset 2 32 1 1 0 } next", "{ tileset -1 32 1 1 0 } next",
                            "{ tileset 99 32 1 1 0 } next"};
    for (const char* text : blocks) {
        EXPECT_EQ(read(text), -1) << text;
        EXPECT_EQ(nextToken(), "next") << text;
    }
    expectNothingMade();
}

TEST_F(TilesetBlock, PictureIndexNamingSomethingElseThanABitmapIsRefused)
{
    datafile.addData();
    // A picture stored under another type is not a tileset picture either.
    datafile.addBitmap(makeBitmap(32, 32, makecol(255, 0, 0)), DAT_RLE_SPRITE);
    datafile.addBitmap(makeBitmap(32, 32, makecol(255, 0, 0)));
    EXPECT_EQ(read("{ tileset 0 32 1 1 0 }"), -1);
    EXPECT_EQ(read("{ tileset 1 32 1 1 0 }"), -1);
    expectNothingMade();
    EXPECT_EQ(read("{ tileset 2 32 1 1 0 }"), 0);
}

TEST_F(TilesetBlock, MissingDatafileIsRefused)
{
    in.str("{ tileset 0 32 1 1 0 }");
    EXPECT_EQ(tileset->read(in, nullptr), -1);
    expectNothingMade();
}

// Each row: a picture and a block with a tile the picture does not yield.
TEST_F(TilesetBlock, TileNumberBeyondThePicturesTilesIsRefusedWithNothingMade)
{
    struct Case {
        const char* name;
        int width;
        int height;
        const char* text;
    };
    const Case cases[] = {
        // A 64 x 32 picture cut in 32-pixel tiles yields tiles 0 and 1 only.
        {"tile 2 of two", 64, 32, "{ tileset 0 32 3 1 0 1 2 }"},
        {"258, tile 2 after the 8-bit cut", 64, 32, "{ tileset 0 32 1 1 258 }"},
        {"tile 0 of a picture smaller than one tile", 20, 20, "{ tileset 0 32 1 1 0 }"},
    };
    for (const Case& c : cases) {
        MemoryDatafile pictures;
        pictures.addBitmap(makeBitmap(c.width, c.height, makecol(255, 0, 0)));
        Tileset refused(&renderer);
        std::istringstream block(c.text);
        EXPECT_EQ(refused.read(block, pictures.get()), -1) << c.name;
        EXPECT_TRUE(refused.tilePictures.empty() && refused.textures.empty() && refused.masks.empty()) << c.name;
    }
    EXPECT_EQ(RenderLog::texturesMade, 0);
}

TEST_F(TilesetBlock, TileNumberCutToEightBitsMayNameAnExistingTile)
{
    datafile.addBitmap(makeBitmap(64, 32, makecol(255, 0, 0)));
    EXPECT_EQ(read("{ tileset 0 32 2 1 257 -255 }"), 0);
    EXPECT_EQ(tileset->tiles[0].index, 1);
    EXPECT_EQ(tileset->tiles[1].index, 1);
}

TEST_F(TilesetBlock, CarriageReturnsSeparateTokensLikeOtherWhiteSpace)
{
    datafile.addBitmap(makeBitmap(32, 64, makecol(255, 0, 0)));
    EXPECT_EQ(read("{\r\ntileset\r\n0 32 2 1\r\n1 0\r\n}\r\n"), 0);
    EXPECT_EQ(tileset->tiles[0].index, 1);
}
