#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "MapFiles.h"
#include "MapImport.h"
#include "Paths.h"
#include "ToolTestData.h"
#include "headless/RenderLog.h"
#include "headless/ScratchFiles.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "render/Renderer.h"

namespace {

// maps/ holds the Tiled files, data/ is the game's working directory, data/level1/ the output.
class MapImporting : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(0, system(("mkdir -p '" + dir.path() + "/maps/sets' '" + dir.path() + "/data/bmp'").c_str()));
        RenderLog::clear();
    }

    std::string maps(const std::string& name) const { return dir.path() + "/maps/" + name; }
    std::string out() const { return dir.path() + "/data/level1"; }

    int import(const std::string& mapText, const std::string& name = "level.tmx")
    {
        mapFile = dir.write("maps/" + name, mapText);
        diagnostics = Diagnostics();
        MapImport importer(&diagnostics);
        int result = importer.run(mapFile, out(), dir.path() + "/data");
        return result;
    }

    std::string output(const std::string& name) const
    {
        std::string contents;
        Paths::read(Paths::join(out(), name), contents);
        return contents;
    }

    // An error of the map at its line, as "line"; "" when there is none.
    std::string errorLine(const std::string& part) const
    {
        const Diagnostics::Entry* entry = diagnostics.find(Diagnostics::Error, part);
        return entry ? std::to_string(entry->position.line) : "";
    }

    std::vector<uint32_t> cells(int count, std::vector<uint32_t> first) const
    {
        first.resize(static_cast<size_t>(count), 0);
        return first;
    }

    TempDir dir;
    Diagnostics diagnostics;
    std::string mapFile;
};

}

TEST_F(MapImporting, UsedTilesAreNumberedDownTheColumnsBehindAnEmptyTileZeroAndDrawnByTheGame)
{
    BITMAP* tiles = tilesetPicture(3, 2, 8);  // Tiled tiles 0 to 5, along the rows
    MapFiles::savePng(maps("tiles.png"), tiles, true);
    destroy_bitmap(tiles);
    ASSERT_EQ(MapImport::Imported,
              import(MapFiles::map(40, 30, 8,
                                   MapFiles::tileset(1, "tiles", 8, 3, 6, "tiles.png") +
                                       MapFiles::layer("main", 40, 30, cells(1200, {6, 2, 0, 5, 1})))))
        << listed(diagnostics);

    // GIDs 1, 2, 5, 6 become tiles 1 to 4; five tiles make a picture of 3 rows and 2 columns.
    std::string def = output("level.def");
    EXPECT_EQ(0u, def.find("LEVELDEF level\n{ tileset 0 8 40 30\n4 2 0 3 1 0 0")) << def.substr(0, 80);
    DATAFILE* pictures = load_datafile(Paths::join(out(), "level.dat").c_str());
    ASSERT_NE(nullptr, pictures);
    BITMAP* picture = static_cast<BITMAP*>(pictures[0].dat);
    ASSERT_EQ(16, picture->w);
    ASSERT_EQ(24, picture->h);
    EXPECT_EQ("255,0,255", rgb(picture, 0, 0));
    EXPECT_EQ("255,0,255", rgb(picture, 7, 7));
    EXPECT_EQ(rgbOf(tileColour(0)), rgb(picture, 0, 8));
    EXPECT_EQ(rgbOf(tileColour(1)), rgb(picture, 7, 23));
    EXPECT_EQ(rgbOf(tileColour(4)), rgb(picture, 8, 0));
    EXPECT_EQ(rgbOf(tileColour(5)), rgb(picture, 15, 15));
    EXPECT_EQ("255,0,255", rgb(picture, 8, 16));
    unload_datafile(pictures);

    Renderer renderer;
    Level level(&renderer);
    ASSERT_EQ(0, level.load((out() + "/").c_str()));
    ASSERT_EQ(1u, level.tilesets.size());
    level.draw();
    ASSERT_EQ(1200u, RenderLog::quads.size());
    const Tileset& main = *level.mainTileset;
    const int expected[5] = {tileColour(5), tileColour(1), -1, tileColour(4), tileColour(0)};
    for (int c = 0; c < 5; ++c) {
        const QuadCall& quad = RenderLog::quads[c];
        EXPECT_EQ(c * 8.0, quad.x);
        size_t tile = std::find(main.textures.begin(), main.textures.end(), quad.texture) - main.textures.begin();
        ASSERT_LT(tile, main.tilePictures.size());
        EXPECT_EQ(expected[c] < 0 ? "255,0,255" : rgbOf(expected[c]), rgb(main.tilePictures[tile], 4, 4)) << "cell " << c;
    }
}

TEST_F(MapImporting, PngAlphaAndTheBmpTransparentColourBecomeMagentaButAPlainPngStaysOpaque)
{
    BITMAP* clear = tilesetPicture(2, 1, 8);
    putpixel(clear, 2, 3, makecol32(255, 0, 255));
    MapFiles::savePng(maps("clear.png"), clear, true);
    BITMAP* keyed = tilesetPicture(2, 1, 8);
    putpixel(keyed, 9, 1, makecol32(0, 255, 0));
    save_bitmap(maps("keyed.bmp").c_str(), keyed, nullptr);
    BITMAP* black = create_bitmap_ex(32, 8, 8);
    clear_to_color(black, makecol32(0, 0, 0));
    MapFiles::savePng(maps("black.png"), black, false);
    destroy_bitmap(clear);
    destroy_bitmap(keyed);
    destroy_bitmap(black);

    ASSERT_EQ(MapImport::Imported,
              import(MapFiles::map(40, 30, 8,
                                   MapFiles::tileset(1, "clear", 8, 2, 2, "clear.png") +
                                       MapFiles::tileset(3, "keyed", 8, 2, 2, "keyed.bmp", " trans=\"00ff00\"") +
                                       MapFiles::tileset(5, "black", 8, 1, 1, "black.png") +
                                       MapFiles::layer("main", 40, 30, cells(1200, {1, 4, 5})))))
        << listed(diagnostics);
    DATAFILE* pictures = load_datafile(Paths::join(out(), "level.dat").c_str());
    ASSERT_NE(nullptr, pictures);
    BITMAP* picture = static_cast<BITMAP*>(pictures[0].dat);
    // Tiles 1, 2, 3 at (0, 8), (8, 0), (8, 8).
    EXPECT_EQ("255,0,255", rgb(picture, 2, 11));
    EXPECT_EQ(rgbOf(tileColour(0)), rgb(picture, 3, 11));
    EXPECT_EQ("255,0,255", rgb(picture, 9, 1));
    EXPECT_EQ(rgbOf(tileColour(1)), rgb(picture, 10, 1));
    EXPECT_EQ("0,0,0", rgb(picture, 12, 12));
    unload_datafile(pictures);
}

TEST_F(MapImporting, ExternalTilesetFileIsReadWithItsPictureBesideIt)
{
    BITMAP* tiles = tilesetPicture(2, 1, 8);
    MapFiles::savePng(maps("sets/ground.png"), tiles, true);
    destroy_bitmap(tiles);
    dir.write("maps/sets/ground.tsx", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                      "<tileset version=\"1.10\" name=\"ground\" tilewidth=\"8\" tileheight=\"8\" "
                                      "tilecount=\"2\" columns=\"2\">\n <image source=\"ground.png\" width=\"16\" "
                                      "height=\"8\"/>\n</tileset>\n");
    ASSERT_EQ(MapImport::Imported,
              import(MapFiles::map(40, 30, 8,
                                   " <tileset firstgid=\"1\" source=\"sets/ground.tsx\"/>\n" +
                                       MapFiles::layer("main", 40, 30, cells(1200, {2})))))
        << listed(diagnostics);
    DATAFILE* pictures = load_datafile(Paths::join(out(), "level.dat").c_str());
    ASSERT_NE(nullptr, pictures);
    EXPECT_EQ(rgbOf(tileColour(1)), rgb(static_cast<BITMAP*>(pictures[0].dat), 0, 8));
    unload_datafile(pictures);
}

TEST_F(MapImporting, AlienObjectsArePlacedByTheirTopLeftCornerWithTheirTilesPicture)
{
    BITMAP* alien = create_bitmap_ex(32, 16, 8);
    clear_to_color(alien, makecol32(0, 200, 0));
    save_bitmap((dir.path() + "/data/bmp/a.bmp").c_str(), alien, nullptr);
    destroy_bitmap(alien);
    std::string aliens = " <tileset firstgid=\"10\" name=\"aliens\" tilewidth=\"16\" tileheight=\"8\" tilecount=\"1\" "
                         "columns=\"0\">\n  <tile id=\"0\">\n   <image source=\"../data/bmp/a.bmp\" width=\"16\" "
                         "height=\"8\"/>\n  </tile>\n </tileset>\n";
    std::string objects = " <objectgroup name=\"aliens\">\n"
                          "  <object id=\"1\" gid=\"10\" x=\"40\" y=\"56\" width=\"16\" height=\"8\"/>\n"
                          "  <object id=\"2\" x=\"10.4\" y=\"20.6\" width=\"16\" height=\"8\"/>\n"
                          "  <object id=\"3\" x=\"100\" y=\"30\">\n   <point/>\n  </object>\n"
                          " </objectgroup>\n";
    std::string layer = MapFiles::layer("main", 40, 30, {});
    ASSERT_EQ(MapImport::Imported, import(MapFiles::map(40, 30, 8, aliens + layer + objects))) << listed(diagnostics);
    EXPECT_EQ("ALIENPROTOS 1\n0 bmp/a.bmp 0 0\nALIENDEF 3\n0 40 48\n0 10 21\n0 100 30\n", output("aliens.def"));

    std::string byProperty = " <objectgroup name=\"aliens\">\n  <properties>\n"
                             "   <property name=\"image\" value=\"bmp/b.bmp\"/>\n"
                             "   <property name=\"explosion\" type=\"int\" value=\"1\"/>\n  </properties>\n"
                             "  <object id=\"1\" x=\"5\" y=\"6\" width=\"16\" height=\"8\"/>\n </objectgroup>\n";
    ASSERT_EQ(MapImport::Imported, import(MapFiles::map(40, 30, 8, layer + byProperty))) << listed(diagnostics);
    EXPECT_EQ("ALIENPROTOS 1\n0 bmp/b.bmp 1 0\nALIENDEF 1\n0 5 6\n", output("aliens.def"));

    ASSERT_EQ(MapImport::Imported, import(MapFiles::map(40, 30, 8, layer)));
    EXPECT_EQ("ALIENPROTOS 0\nALIENDEF 0\n", output("aliens.def"));
}

TEST_F(MapImporting, BackgroundLayersKeepTheColumnsAndRowsTheirParallaxGives)
{
    BITMAP* tiles = tilesetPicture(1, 1, 16);
    MapFiles::savePng(maps("tiles.png"), tiles, true);
    destroy_bitmap(tiles);
    std::vector<uint32_t> full(800, 1);
    // 640 x 320 pixels: 320 + 0.5 * 320 = 480 pixels is 30 columns; 240 + 0.25 * 80 = 260 pixels rounds to 16 rows.
    ASSERT_EQ(MapImport::Imported,
              import(MapFiles::map(40, 20, 16,
                                   MapFiles::tileset(1, "tiles", 16, 1, 1, "tiles.png") +
                                       MapFiles::layer("far", 40, 20, full, " parallaxx=\"0.5\" parallaxy=\"0.25\"") +
                                       MapFiles::layer("main", 40, 20, {}))))
        << listed(diagnostics);
    EXPECT_NE(std::string::npos, output("level.def").find("{ tileset 0 16 30 16\n"));
    EXPECT_NE(std::string::npos, output("level.def").find("{ tileset 1 16 40 20\n"));
    EXPECT_TRUE(diagnostics.has(Diagnostics::Warning, "320 tiles beyond them are left out")) << listed(diagnostics);

    Level level(nullptr);
    ASSERT_EQ(0, level.load((out() + "/").c_str()));
    ASSERT_EQ(2u, level.tilesets.size());
    EXPECT_DOUBLE_EQ(0.5, level.tilesets[0]->factorX);
    EXPECT_DOUBLE_EQ(0.2, level.tilesets[0]->factorY);

    EXPECT_EQ(5, MapImport::keptTiles(0.0, 640, 240, 50, 100));
    EXPECT_EQ(7, MapImport::keptTiles(0.9, 640, 320, 16, 7));
}

TEST_F(MapImporting, ParallaxOutsideZeroToOneAndParallaxOnTheMainLayerAreRefused)
{
    std::string text = MapFiles::map(40, 20, 16,
                                     MapFiles::layer("near", 40, 20, {}, " parallaxx=\"1.5\"") +
                                         MapFiles::layer("main", 40, 20, {}, " parallaxy=\"0.5\""));
    EXPECT_EQ(MapImport::Refused, import(text));
    EXPECT_EQ(std::to_string(MapFiles::lineOf(text, "name=\"near\"")), errorLine("has parallax 1.5 x 1"));
    EXPECT_EQ(std::to_string(MapFiles::lineOf(text, "name=\"main\"")), errorLine("its parallax factors must be 1"));
    EXPECT_FALSE(Paths::exists(Paths::join(out(), "level.def")));
}

TEST_F(MapImporting, WhatTheGameCannotHoldIsAnErrorAtItsLineAndNothingIsWritten)
{
    BITMAP* tiles = tilesetPicture(16, 17, 2);
    MapFiles::savePng(maps("small.png"), tiles, true);
    destroy_bitmap(tiles);
    std::string set = MapFiles::tileset(1, "small", 2, 16, 272, "small.png");
    std::vector<uint32_t> flipped(160 * 120, 0);
    flipped[160 * 2 + 5] = 0x80000002u;
    std::vector<uint32_t> many;
    for (uint32_t gid = 1; gid <= 256; ++gid)
        many.push_back(gid);

    struct Case {
        std::string text;
        std::string message;
        std::string marker;  // the line the error must name
    };
    const Case cases[] = {
        {MapFiles::map(160, 120, 2, set + MapFiles::layer("main", 160, 120, flipped)), "flipped or rotated",
         "2147483650"},
        {MapFiles::map(160, 120, 2, set + " <layer name=\"main\" width=\"160\" height=\"120\">\n  <data "
                                          "encoding=\"base64\">AAAA</data>\n </layer>\n"),
         "stored as base64: only CSV", "encoding=\"base64\""},
        {MapFiles::map(160, 120, 2, set + " <layer name=\"main\" width=\"160\" height=\"120\">\n  <data "
                                          "encoding=\"base64\" compression=\"zlib\">eJw=</data>\n </layer>\n"),
         "base64 compressed with zlib", "compression"},
        {"<?xml version=\"1.0\"?>\n<map orientation=\"orthogonal\" width=\"40\" height=\"30\" tilewidth=\"8\" "
         "tileheight=\"16\" infinite=\"0\">\n</map>\n",
         "tiles are 8 x 16 pixels: the game's tiles are square", "<map"},
        {"<?xml version=\"1.0\"?>\n<map orientation=\"orthogonal\" width=\"40\" height=\"30\" tilewidth=\"8\" "
         "tileheight=\"8\" infinite=\"1\">\n</map>\n",
         "the map is infinite", "<map"},
        {MapFiles::map(40, 30, 8, MapFiles::tileset(1, "small", 2, 16, 272, "small.png") +
                                      MapFiles::layer("main", 40, 30, {1})),
         "pixel tiles, the map 8 x 8", "<tileset"},
        {MapFiles::map(256, 120, 2, set + MapFiles::layer("main", 256, 120, many)), "uses 256 different tiles",
         "<layer"},
        {MapFiles::map(2100, 15, 16, MapFiles::layer("main", 2100, 15, {})), "the map is 33600 x 240 pixels",
         "<layer"},
        {MapFiles::map(160, 120, 2, set + MapFiles::layer("main", 160, 120, {}) +
                                        " <objectgroup name=\"aliens\">\n  <properties>\n   <property name=\"image\" "
                                        "value=\"bmp/a.bmp\"/>\n  </properties>\n  <object id=\"1\" x=\"40000\" "
                                        "y=\"3\"/>\n </objectgroup>\n"),
         "(40000, 3) is beyond", "x=\"40000\""},
        {MapFiles::map(160, 120, 2,
                       " <tileset firstgid=\"300\" name=\"aliens\" tilewidth=\"16\" tileheight=\"8\" tilecount=\"1\" "
                       "columns=\"0\">\n  <tile id=\"0\">\n   <image source=\"elsewhere/a.bmp\"/>\n  </tile>\n "
                       "</tileset>\n" +
                           MapFiles::layer("main", 160, 120, {}) +
                           " <objectgroup name=\"aliens\">\n  <object id=\"1\" gid=\"300\" x=\"4\" y=\"30\"/>\n "
                           "</objectgroup>\n"),
         "lies outside the game's data directory", "<object id"},
        {"<?xml version=\"1.0\"?>\n<map orientation=\"orthogonal\">\n <layer>\n</map>\n", "is not well-formed XML",
         "<layer>"},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(MapImport::Refused, import(test.text)) << test.message;
        EXPECT_EQ(std::to_string(MapFiles::lineOf(test.text, test.marker)), errorLine(test.message))
            << test.message << "\n" << listed(diagnostics);
        EXPECT_FALSE(Paths::exists(Paths::join(out(), "level.def"))) << test.message;
    }
}

TEST_F(MapImporting, SameMapGivesTheSameBytes)
{
    BITMAP* tiles = tilesetPicture(4, 4, 8);
    MapFiles::savePng(maps("tiles.png"), tiles, true);
    destroy_bitmap(tiles);
    std::vector<uint32_t> gids;
    for (int i = 0; i < 1200; ++i)
        gids.push_back(static_cast<uint32_t>(i * 7 % 17));
    std::string text = MapFiles::map(40, 30, 8, MapFiles::tileset(1, "tiles", 8, 4, 16, "tiles.png") +
                                                    MapFiles::layer("main", 40, 30, gids));
    ASSERT_EQ(MapImport::Imported, import(text)) << listed(diagnostics);
    std::string first = output("level.def") + output("level.dat") + output("aliens.def");
    ASSERT_EQ(MapImport::Imported, import(text));
    EXPECT_EQ(first, output("level.def") + output("level.dat") + output("aliens.def"));
}
