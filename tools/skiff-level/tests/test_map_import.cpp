#include <allegro.h>
#include <loadpng.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "MapFiles.h"
#include "MapImport.h"
#include "Paths.h"
#include "TilePicture.h"
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
    // Saves picture as maps/name, a PNG whose magenta pixels are transparent, and destroys it.
    void save(const std::string& name, BITMAP* picture)
    {
        TilePicture::savePng(maps(name), picture);
        destroy_bitmap(picture);
    }
    std::string out() const { return dir.path() + "/data/level1"; }

    int import(const std::string& mapText, const std::string& name = "level.tmx")
    {
        diagnostics = Diagnostics();
        MapImport importer(&diagnostics);
        return importer.run(dir.write("maps/" + name, mapText), out(), dir.path() + "/data");
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

    TempDir dir;
    Diagnostics diagnostics;
};

}

TEST_F(MapImporting, UsedTilesAreNumberedDownTheColumnsBehindAnEmptyTileZeroAndDrawnByTheGame)
{
    const std::string M = "255,0,255";
    BITMAP* tiles = tilesetPicture(3, 2, 8);  // Tiled tiles 0 to 5, along the rows
    putpixel(tiles, 2, 3, makecol32(255, 0, 255));
    save("tiles.png", tiles);
    BITMAP* keyed = tilesetPicture(2, 1, 8);
    putpixel(keyed, 9, 1, makecol32(0, 255, 0));
    save_bitmap(maps("keyed.bmp").c_str(), keyed, nullptr);
    destroy_bitmap(keyed);
    BITMAP* black = create_bitmap_ex(24, 8, 8);  // a PNG without alpha: its black stays opaque
    clear_to_color(black, makecol24(0, 0, 0));
    save_png(maps("black.png").c_str(), black, nullptr);
    destroy_bitmap(black);
    ASSERT_EQ(MapImport::Imported,
              import(MapFiles::map(40, 30, 8,
                                   MapFiles::tileset(1, "tiles", 8, 3, 6, "tiles.png") +
                                       MapFiles::tileset(7, "keyed", 8, 2, 2, "keyed.bmp", " trans=\"00ff00\"") +
                                       MapFiles::tileset(9, "black", 8, 1, 1, "black.png") +
                                       MapFiles::layer("main", 40, 30, {6, 2, 0, 5, 1, 8, 9}))))
        << listed(diagnostics);

    // GIDs 1, 2, 5, 6, 8, 9 become tiles 1 to 6; seven tiles make a picture of 3 rows and 3 columns.
    std::string def = output("level.def");
    EXPECT_EQ(0u, def.find("LEVELDEF level\n{ tileset 0 8 40 30\n4 2 0 3 1 5 6 0 0")) << def.substr(0, 80);
    DATAFILE* pictures = load_datafile(Paths::join(out(), "level.dat").c_str());
    ASSERT_NE(nullptr, pictures);
    BITMAP* picture = static_cast<BITMAP*>(pictures[0].dat);
    ASSERT_EQ(24, picture->w);
    ASSERT_EQ(24, picture->h);
    const struct {
        int x, y;
        std::string rgb;
    } pixels[] = {{0, 0, M}, {7, 7, M}, {0, 8, rgbOf(tileColour(0))}, {2, 11, M}, {3, 11, rgbOf(tileColour(0))},
                  {7, 23, rgbOf(tileColour(1))}, {8, 0, rgbOf(tileColour(4))}, {15, 15, rgbOf(tileColour(5))},
                  {9, 17, M}, {10, 17, rgbOf(tileColour(1))}, {20, 4, "0,0,0"}, {16, 16, M}};
    for (const auto& pixel : pixels)
        EXPECT_EQ(pixel.rgb, rgb(picture, pixel.x, pixel.y)) << pixel.x << ", " << pixel.y;
    unload_datafile(pictures);

    Renderer renderer;
    Level level(&renderer);
    ASSERT_EQ(0, level.load((out() + "/").c_str()));
    ASSERT_EQ(1u, level.tilesets.size());
    level.draw();
    ASSERT_EQ(1200u, RenderLog::quads.size());
    const Tileset& main = *level.mainTileset;
    const std::string expected[7] = {rgbOf(tileColour(5)), rgbOf(tileColour(1)), M, rgbOf(tileColour(4)),
                                     rgbOf(tileColour(0)), rgbOf(tileColour(1)), "0,0,0"};
    for (int c = 0; c < 7; ++c) {
        const QuadCall& quad = RenderLog::quads[c];
        EXPECT_EQ(c * 8.0, quad.x);
        size_t tile = std::find(main.textures.begin(), main.textures.end(), quad.texture) - main.textures.begin();
        ASSERT_LT(tile, main.tilePictures.size());
        EXPECT_EQ(expected[c], rgb(main.tilePictures[tile], 4, 4)) << "cell " << c;
    }
}

TEST_F(MapImporting, EveryEncodingOfALayerAndBothFileFormatsGiveTheSameLevel)
{
    save("tiles.png", tilesetPicture(2, 1, 80));
    dir.write("maps/sets/tiles.tsj", "{\"type\": \"tileset\", \"name\": \"tiles\", \"tilewidth\": 80, \"tileheight\": 80, "
                                     "\"tilecount\": 2, \"columns\": 2, \"image\": \"../tiles.png\"}");
    const std::string grid = MapFiles::bytes({1, 0, 2, 0, 0, 2, 0, 1, 0x80000001u, 2, 0, 0});
    const std::string csv = "1,0,2,0,0,2,0,1,2147483649,2,0,0";
    std::string xmlTiles = "\n";
    for (const char* gid : {"1", "", "2", "", "", "2", "", "1", "2147483649", "2", "", ""})
        xmlTiles += std::string("   <tile") + (*gid ? " gid=\"" + std::string(gid) + "\"" : "") + "/>\n";
    // An infinite map holds the same cells in two chunks, the left one, from column -2, last; the
    // alien stands 160 pixels further left in Tiled's coordinates.
    const std::string chunks[2] = {"\"x\": 0, \"y\": 0, \"width\": 2, \"height\": 3, \"data\": [2, 0, 0, 1, 0, 0]",
                                   "\"x\": -2, \"y\": 0, \"width\": 2, \"height\": 3, \"data\": [1, 0, 0, 2, 2147483649, 2]"};
    auto tmx = [](const std::string& layer, bool infinite) {
        std::string text = MapFiles::map(4, 3, 80, MapFiles::tileset(1, "tiles", 80, 2, 2, "tiles.png") + layer +
            " <objectgroup name=\"aliens\">\n  <properties>\n   <property name=\"image\" value=\"bmp/a.bmp\"/>\n"
            "  </properties>\n  <object id=\"1\" x=\"" + (infinite ? "-60" : "100") + "\" y=\"50\"/>\n </objectgroup>\n");
        return infinite ? text.replace(text.find("infinite=\"0\""), 12, "infinite=\"1\"") : text;
    };
    auto tmj = [](const std::string& tileset, const std::string& layer, bool infinite) {
        return std::string("{\"type\": \"map\", \"orientation\": \"orthogonal\", \"infinite\": ") +
               (infinite ? "true" : "false") + ", \"width\": 4, \"height\": 3, \"tilewidth\": 80, \"tileheight\": 80,\n"
               " \"tilesets\": [" + tileset + "],\n \"layers\": [{\"type\": \"tilelayer\", \"name\": \"main\", "
               "\"width\": 4, \"height\": 3, " + layer + "},\n  {\"type\": \"objectgroup\", \"name\": \"aliens\", "
               "\"properties\": [{\"name\": \"image\", \"type\": \"string\", \"value\": \"bmp/a.bmp\"}],\n"
               "   \"objects\": [{\"id\": 1, \"x\": " + (infinite ? "-60" : "100") + ", \"y\": 50, \"point\": true}]}]}\n";
    };
    // As Tiled writes it: on a line of its own.
    auto base64 = [&](const std::string& compression) {
        std::string packing = compression.empty() ? "" : " compression=\"" + compression + "\"";
        std::string data = "\n   " + MapFiles::packed(grid, compression) + "\n";
        return tmx(MapFiles::dataLayer("main", 4, 3, " encoding=\"base64\"" + packing, data), false);
    };
    const std::string embedded = "{\"firstgid\": 1, \"name\": \"tiles\", \"tilewidth\": 80, \"tileheight\": 80, "
                                 "\"tilecount\": 2, \"columns\": 2, \"image\": \"tiles.png\"}";
    struct Case {
        std::string form;
        std::string name;
        std::string text;
    };
    const Case cases[] = {
        {"CSV", "level.tmx", tmx(MapFiles::layer("main", 4, 3, {1, 0, 2, 0, 0, 2, 0, 1, 0x80000001u, 2, 0, 0}), false)},
        {"XML tiles", "level.tmx", tmx(MapFiles::dataLayer("main", 4, 3, "", xmlTiles), false)},
        {"base64", "level.tmx", base64("")},
        {"zlib", "level.tmx", base64("zlib")},
        {"gzip", "level.tmx", base64("gzip")},
        {"zstd", "level.tmx", base64("zstd")},
        {"infinite TMX", "level.tmx",
         tmx(MapFiles::dataLayer("main", 4, 3, " encoding=\"csv\"",
                                 "\n   <chunk x=\"0\" y=\"0\" width=\"2\" height=\"3\">\n2,0,\n0,1,\n0,0\n</chunk>\n"
                                 "   <chunk x=\"-2\" y=\"0\" width=\"2\" height=\"3\">\n1,0,\n0,2,\n2147483649,2\n</chunk>\n"),
             true)},
        {"JSON array", "level.tmj", tmj(embedded, "\"data\": [" + csv + "]", false)},
        {"JSON zstd, .tsj tileset", "level.json",
         tmj("{\"firstgid\": 1, \"source\": \"sets/tiles.tsj\"}",
             "\"encoding\": \"base64\", \"compression\": \"zstd\", \"data\": \"" + MapFiles::packed(grid, "zstd") + "\"",
             false)},
        {"infinite JSON", "level.tmj", tmj(embedded, "\"chunks\": [{" + chunks[0] + "}, {" + chunks[1] + "}]", true)},
    };
    std::string pictures;
    for (const Case& test : cases) {
        ASSERT_EQ(MapImport::Imported, import(test.text, test.name)) << test.form << "\n" << listed(diagnostics);
        EXPECT_EQ(0, diagnostics.warningCount()) << test.form << "\n" << listed(diagnostics);
        // Tiles 1, 2 and the flipped 1 become 1, 2, 3.
        EXPECT_EQ("LEVELDEF level\n{ tileset 0 80 4 3\n1 0 2 0\n0 2 0 1\n3 2 0 0\n}\n", output("level.def")) << test.form;
        EXPECT_EQ("ALIENPROTOS 1\n0 bmp/a.bmp 0 0\nALIENDEF 1\n0 100 50\n", output("aliens.def")) << test.form;
        if (pictures.empty())
            pictures = output("level.dat");
        EXPECT_TRUE(pictures == output("level.dat")) << test.form;
    }
}

TEST_F(MapImporting, MarginSpacingTilesetFilesAndImageCollectionsGiveEachTileItsPicture)
{
    // 2 x 2 tiles of 8 pixels with a margin of 2 and a spacing of 1, on white.
    BITMAP* spaced = create_bitmap_ex(32, 21, 21);
    clear_to_color(spaced, makecol32(255, 255, 255));
    for (int id = 0; id < 4; ++id)
        rectfill(spaced, 2 + id % 2 * 9, 2 + id / 2 * 9, 9 + id % 2 * 9, 9 + id / 2 * 9, tileColour(id));
    BITMAP* pictures[3] = {spaced, tilesetPicture(2, 1, 8), tilesetPicture(3, 1, 8)};
    const char* files[3] = {"spaced.png", "sets/file.png", "sets/sheet.png"};
    for (int i = 0; i < 3; ++i)
        save(files[i], pictures[i]);
    save("alone.png", makeBitmap(8, 8, makecol32(10, 200, 30)));
    dir.write("maps/sets/file.tsx", "<tileset name=\"file\" tilewidth=\"8\" tileheight=\"8\" tilecount=\"2\" "
                                    "columns=\"2\">\n <image source=\"file.png\"/>\n</tileset>\n");
    std::string tilesets =
        " <tileset firstgid=\"1\" name=\"spaced\" tilewidth=\"8\" tileheight=\"8\" margin=\"2\" spacing=\"1\" "
        "tilecount=\"4\" columns=\"2\">\n  <image source=\"spaced.png\"/>\n </tileset>\n"
        " <tileset firstgid=\"5\" source=\"sets/file.tsx\"/>\n"
        " <tileset firstgid=\"7\" name=\"collection\" tilewidth=\"24\" tileheight=\"8\" tilecount=\"2\" columns=\"0\">\n"
        "  <tile id=\"0\"><image source=\"alone.png\"/></tile>\n"
        "  <tile id=\"1\" x=\"16\" y=\"0\" width=\"8\" height=\"8\"><image source=\"sets/sheet.png\"/></tile>\n"
        " </tileset>\n";
    ASSERT_EQ(MapImport::Imported, import(MapFiles::map(4, 1, 8, tilesets + MapFiles::layer("main", 4, 1, {4, 6, 7, 8}))))
        << listed(diagnostics);
    EXPECT_TRUE(diagnostics.has(Diagnostics::Warning, "32 x 8 pixels, smaller than the 320 x 240 screen: empty cells "
                                                      "fill it out to 320 x 240")) << listed(diagnostics);
    Level level(nullptr);
    ASSERT_EQ(0, level.load((out() + "/").c_str()));
    const Tileset& main = *level.mainTileset;
    ASSERT_EQ(40, main.width);
    ASSERT_EQ(30, main.height);
    const std::string expected[4] = {rgbOf(tileColour(3)), rgbOf(tileColour(1)), "10,200,30", rgbOf(tileColour(2))};
    for (int cell = 0; cell < 4; ++cell) {
        BITMAP* tile = main.tilePictures[main.tiles[cell].index];
        EXPECT_EQ(expected[cell], rgb(tile, 0, 0)) << "cell " << cell;
        EXPECT_EQ(expected[cell], rgb(tile, 7, 7)) << "cell " << cell;
    }
}

TEST_F(MapImporting, EachFlipAndRotationIsBakedIntoATilePictureOfItsOwn)
{
    // A 2 x 2 tile "ab/cd"; every one of the 8 turns puts its corners elsewhere.
    const int colours[4] = {makecol32(200, 0, 0), makecol32(0, 200, 0), makecol32(0, 0, 200), makecol32(200, 200, 0)};
    BITMAP* tile = create_bitmap_ex(32, 2, 2);
    for (int i = 0; i < 4; ++i)
        putpixel(tile, i % 2, i / 2, colours[i]);
    save("tile.png", tile);
    struct Case {
        uint32_t flips;
        const char* pixels;  // the turned tile's pixels, row by row
    };
    const Case cases[] = {
        {0, "abcd"},
        {TiledMap::FlipX, "badc"},
        {TiledMap::FlipY, "cdab"},
        {TiledMap::FlipX | TiledMap::FlipY, "dcba"},
        {TiledMap::FlipDiagonal, "acbd"},
        {TiledMap::FlipDiagonal | TiledMap::FlipX, "cadb"},  // turned a quarter clockwise
        {TiledMap::FlipDiagonal | TiledMap::FlipY, "bdac"},  // a quarter anticlockwise
        {TiledMap::FlipDiagonal | TiledMap::FlipX | TiledMap::FlipY, "dbca"},
    };
    std::vector<uint32_t> gids;
    for (const Case& test : cases)
        gids.push_back(1 | test.flips);
    ASSERT_EQ(MapImport::Imported,
              import(MapFiles::map(8, 1, 2, MapFiles::tileset(1, "tile", 2, 1, 1, "tile.png") +
                                                MapFiles::layer("main", 8, 1, gids))))
        << listed(diagnostics);
    Level level(nullptr);
    ASSERT_EQ(0, level.load((out() + "/").c_str()));
    const Tileset& main = *level.mainTileset;
    for (int cell = 0; cell < 8; ++cell) {
        BITMAP* made = main.tilePictures[main.tiles[cell].index];
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(rgbOf(colours[cases[cell].pixels[i] - 'a']), rgb(made, i % 2, i / 2))
                << "flips " << std::hex << cases[cell].flips << ", pixel " << i;
    }
}

TEST_F(MapImporting, GroupsMultiplyParallaxAndWhatTheGameCannotShowIsLeftOutWithAWarning)
{
    save("tiles.png", tilesetPicture(2, 1, 16));
    std::string tileset = " <tileset firstgid=\"1\" name=\"tiles\" tilewidth=\"16\" tileheight=\"16\" tilecount=\"2\" "
                          "columns=\"2\">\n  <tileoffset x=\"0\" y=\"4\"/>\n  <image source=\"tiles.png\"/>\n"
                          "  <tile id=\"1\"><animation><frame tileid=\"0\" duration=\"100\"/></animation></tile>\n"
                          " </tileset>\n";
    std::vector<uint32_t> full(800, 1);
    std::string body =
        tileset + " <group name=\"back\" parallaxx=\"0.5\" parallaxy=\"0.5\" opacity=\"0.5\">\n" +
        MapFiles::layer("far", 40, 20, full, " parallaxx=\"0.5\" parallaxy=\"0.5\"") +
        MapFiles::layer("hidden", 40, 20, full, " visible=\"0\"") + " </group>\n"
        " <imagelayer name=\"sky\"><image source=\"tiles.png\"/></imagelayer>\n"
        " <objectgroup name=\"triggers\">\n  <object id=\"1\" x=\"3\" y=\"4\"><polygon points=\"0,0 5,5 9,0\"/></object>\n"
        " </objectgroup>\n" +
        MapFiles::layer("main", 40, 20, {2}, " offsetx=\"4\" tintcolor=\"#ff0000\"");
    ASSERT_EQ(MapImport::Imported, import(MapFiles::map(40, 20, 16, body))) << listed(diagnostics);
    // Parallax 0.5 x 0.5 twice: 320 + 0.25 * 320 = 400 pixels, 25 columns; 240 + 0.25 * 80 = 260, 16 rows,
    // which the game scrolls by (256 - 240) / 80 = 0.2.
    EXPECT_NE(std::string::npos, output("level.def").find("{ tileset 0 16 25 16\n")) << output("level.def").substr(0, 80);
    EXPECT_NE(std::string::npos, output("level.def").find("{ tileset 1 16 40 20\n"));
    EXPECT_EQ(std::string::npos, output("level.def").find("{ tileset 2"));
    Level level(nullptr);
    ASSERT_EQ(0, level.load((out() + "/").c_str()));
    EXPECT_DOUBLE_EQ(0.25, level.tilesets[0]->factorX);
    EXPECT_DOUBLE_EQ(0.2, level.tilesets[0]->factorY);
    // The screen's 4.8 rows of 50 pixels take 5; no more tiles than the layer has; 584 / 16 = 36.5 rounds up.
    EXPECT_EQ(5, MapImport::keptTiles(0.0, 640, 240, 50, 100));
    EXPECT_EQ(7, MapImport::keptTiles(0.9, 640, 320, 16, 7));
    EXPECT_EQ(37, MapImport::keptTiles(0.8, 650, 320, 16, 100));
    const char* const warnings[] = {
        "layer \"far\" has opacity 0.5: the game does not show it",
        "layer \"hidden\" is hidden: it is left out",
        "image layer \"sky\" is left out",
        "object layer \"triggers\" is left out",
        "layer \"main\" is offset by (4, 0) pixels: the game does not show it",
        "layer \"main\" is tinted",
        "layer \"main\" uses 1 animated tile (the first is tile 2)",
        "layer \"far\" uses tileset \"tiles\", whose tile offset (0, 4) the game does not show",
        "layer \"far\" keeps its first 25 columns and 16 rows for its parallax 0.25 x 0.25: 400 tiles beyond them",
    };
    for (const char* warning : warnings)
        EXPECT_TRUE(diagnostics.has(Diagnostics::Warning, warning)) << warning << "\n" << listed(diagnostics);
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

TEST_F(MapImporting, WhatTheGameCannotHoldIsAnErrorAtItsLineAndNothingIsWritten)
{
    save("small.png", tilesetPicture(16, 17, 2));
    std::string set = MapFiles::tileset(1, "small", 2, 16, 272, "small.png");
    std::vector<uint32_t> many;
    for (uint32_t gid = 1; gid <= 128; ++gid) {
        many.push_back(gid);
        many.push_back(gid | TiledMap::FlipX);
    }
    const std::string full = MapFiles::bytes(std::vector<uint32_t>(160 * 120, 1));
    const std::string huge(full.size() * 50, '\0');
    auto cut = [](const std::string& text) { return text.substr(0, text.size() - 8); };
    auto data = [&set](const std::string& attributes, const std::string& text) {
        return MapFiles::map(160, 120, 2, set + MapFiles::dataLayer("main", 160, 120, attributes, text));
    };
    const std::string zlib = " encoding=\"base64\" compression=\"zlib\"";
    const std::string gzip = " encoding=\"base64\" compression=\"gzip\"";
    const std::string zstd = " encoding=\"base64\" compression=\"zstd\"";
    auto tmj = [](const std::string& map, const std::string& layer) {
        return "{\"type\": \"map\", \"orientation\": \"orthogonal\", \"width\": 160, \"height\": 120, \"tilewidth\": 2, "
               "\"tileheight\": 2, " + map + "\"layers\": [{\"type\": \"tilelayer\", \"name\": \"main\", \"width\": 160, "
               "\"height\": 120, " + layer + "}]}\n";
    };
    auto oriented = [](const std::string& orientation) {
        return "<?xml version=\"1.0\"?>\n<map orientation=\"" + orientation + "\" width=\"40\" height=\"30\" "
               "tilewidth=\"8\" tileheight=\"8\" infinite=\"0\">\n</map>\n";
    };

    struct Case {
        std::string text;
        std::string message;
        std::string marker;  // the line the error must name; "" for a JSON path, line 0
    };
    const std::string parallax = MapFiles::map(40, 20, 16, MapFiles::layer("near", 40, 20, {}, " parallaxx=\"1.5\"") +
                                                               MapFiles::layer("main", 40, 20, {}, " parallaxy=\"0.5\""));
    const Case cases[] = {
        {data(" encoding=\"base64\"", "AAA!AAAA"), "\"!\", which is not a base64 character", "AAA!"},
        {data(" encoding=\"base64\"", "AAAA"), "decodes to 3 bytes, not the 76800 of its 19200 cells", "AAAA"},
        {data(zlib, "eJw="), "its zlib data is cut short", "eJw="},
        {data(zlib, cut(MapFiles::packed(full, "zlib"))), "its zlib data is cut short", "<data"},
        {data(gzip, cut(MapFiles::packed(full, "gzip"))), "its gzip data is cut short", "<data"},
        {data(zstd, cut(MapFiles::packed(full, "zstd"))), "its zstd data is cut short", "<data"},
        {data(zlib, "eJz//w=="), "its zlib data is damaged", "<data"},
        {data(zlib, MapFiles::packed(full.substr(0, 400), "zlib")), "decodes to 400 bytes, not the 76800", "<data"},
        {data(zlib, MapFiles::packed(huge, "zlib")), "zlib data inflates beyond the 76800 bytes", "<data"},
        {data(zstd, MapFiles::packed(huge, "zstd")), "zstd data inflates beyond the 76800 bytes", "<data"},
        {data(" encoding=\"base64\" compression=\"lz4\"", "AAAA"), "compressed with \"lz4\"", "<data"},
        {MapFiles::map(256, 120, 2, set + MapFiles::layer("main", 256, 120, many)),
         "uses 256 different tiles, counting each of its 128 flipped or rotated tiles as a tile of its own", "<layer"},
        {oriented("isometric"), "the map is isometric: only orthogonal", "<map"},
        {MapFiles::map(2, 2, 400, MapFiles::layer("main", 2, 2, {})), "tiles are 400 pixels wide", "<map"},
        {MapFiles::map(40, 30, 8, MapFiles::layer("main", 40, 30, {}) +
                                      " <objectgroup name=\"aliens\">\n  <object id=\"1\" x=\"nan\" y=\"1\"/>\n </objectgroup>\n"),
         "position, size, rotation and gid must be numbers", "\"nan\""},
        {oriented("staggered"), "the map is staggered: only orthogonal", "<map"},
        {oriented("hexagonal"), "the map is hexagonal: only orthogonal", "<map"},
        {tmj("\"tilesets\": [], ", "\"data\": [0, 0, 0, \"x\"]"), "layers[0].data[3]: layer \"main\": \"x\" is not a tile "
         "number", ""},
        {tmj("", "\"width\": -3, \"data\": []"), "layers[0].width: needs a whole number of at least 1", ""},
        {tmj("", "\"encoding\": \"base64\", \"compression\": \"gzip\", \"data\": \"H4sI\""),
         "layers[0].data: layer \"main\": its gzip data is cut short", ""},
        {"{\"type\": \"map\", \"orientation\": \"staggered\"}", "the map is staggered", ""},
        {"{\"type\": \"map\",\n \"width\": ,\n \"height\": 3}", "is not well-formed JSON", "\"width\""},
        {"<?xml version=\"1.0\"?>\n<map orientation=\"orthogonal\" width=\"40\" height=\"30\" tilewidth=\"8\" "
         "tileheight=\"16\" infinite=\"0\">\n</map>\n",
         "tiles are 8 x 16 pixels: the game's tiles are square", "<map"},
        {MapFiles::map(40, 30, 8, MapFiles::tileset(1, "small", 2, 16, 272, "small.png") +
                                      MapFiles::layer("main", 40, 30, {1})),
         "tile 1 (tile 0 of tileset \"small\") is 2 x 2 pixels, the map's tiles 8 x 8", "1,0,0"},
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
        {parallax, "has parallax 1.5 x 1", "name=\"near\""},
        {parallax, "its parallax factors must be 1", "name=\"main\""},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(MapImport::Refused, import(test.text, test.text[0] == '{' ? "level.tmj" : "level.tmx")) << test.message;
        EXPECT_EQ(test.marker.empty() ? "0" : std::to_string(MapFiles::lineOf(test.text, test.marker)),
                  errorLine(test.message))
            << test.message << "\n" << listed(diagnostics);
        EXPECT_FALSE(Paths::exists(Paths::join(out(), "level.def"))) << test.message;
    }
}

TEST(ShippedMap, ImportingTheShippedMapReproducesTheShippedLevelByteForByte)
{
    const std::string source = SKIFF_SOURCE_DIR;
    TempDir out;
    Diagnostics diagnostics;
    MapImport importer(&diagnostics);
    ASSERT_EQ(MapImport::Imported, importer.run(source + "/levels/level0/level0.tmx", out.path(), source + "/data"))
        << listed(diagnostics);
    EXPECT_EQ(0, diagnostics.warningCount()) << listed(diagnostics);
    for (const char* file : {"level.def", "level.dat", "aliens.def"}) {
        std::string shipped, made;
        Paths::read(source + "/data/level0/" + file, shipped);
        Paths::read(out.path() + "/" + file, made);
        EXPECT_TRUE(shipped == made) << file << " differs from what importing levels/level0/level0.tmx makes";
    }
}
