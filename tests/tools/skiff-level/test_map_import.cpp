#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "LevelDirectoryCheck.h"
#include "MapFiles.h"
#include "MapImport.h"
#include "TilePicture.h"
#include "ToolTestData.h"
#include "core/FileBytes.h"
#include "headless/RenderLog.h"
#include "headless/ScratchFiles.h"
#include "level/Level.h"
#include "level/LevelText.h"
#include "level/Tileset.h"
#include "render/Renderer.h"

namespace {

// maps/ holds the Tiled files, data/ is the game's working directory, data/level1/ the output.
class MapImporting : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(std::filesystem::create_directories(dir.path() + "/maps/sets"));
        ASSERT_TRUE(std::filesystem::create_directories(dir.path() + "/data/bmp"));
        BITMAP* alien = makeBitmap(16, 8, makecol32(0, 200, 0));
        saveBitmap(dir, "data/bmp/a.bmp", alien);
        destroy_bitmap(alien);
        RenderLog::clear();
    }
    void TearDown() override { delete importer; }

    std::string maps(const std::string& name) const { return dir.path() + "/maps/" + name; }
    // Saves picture as maps/name, a PNG whose magenta pixels are transparent, and destroys it.
    void save(const std::string& name, BITMAP* picture)
    {
        savePng(maps(name), picture);
        destroy_bitmap(picture);
    }
    std::string out() const { return dir.path() + "/data/level1"; }

    int import(const std::string& mapText, const std::string& name = "level.tmx", const std::string& dataRoot = "data")
    {
        diagnostics = Diagnostics();
        delete importer;
        importer = new MapImport(&diagnostics);
        importer->verbose = verbose;
        return importer->run(dir.write("maps/" + name, mapText), out(), dir.path() + "/" + dataRoot);
    }

    std::string output(const std::string& name) const
    {
        std::string contents;
        FileBytes::read(out() + "/" + name, contents);
        return contents;
    }

    TempDir dir;
    Diagnostics diagnostics;
    MapImport* importer = nullptr;  // of the last import
    bool verbose = false;
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
    std::string blackRows;  // a PNG without alpha: its black stays opaque
    for (int y = 0; y < 8; ++y)
        blackRows += std::string(1 + 8 * 3, '\0');
    dir.write("maps/black.png", pngFile(8, 8, 8, 2, 0, "", blackRows));
    ASSERT_EQ(MapImport::Imported,
              import(MapFiles::map(40, 30, 8,
                                   MapFiles::tileset(1, "tiles", 8, 3, 6, "tiles.png") +
                                       MapFiles::tileset(7, "keyed", 8, 2, 2, "keyed.bmp", " trans=\"00ff00\"") +
                                       MapFiles::tileset(9, "black", 8, 1, 1, "black.png") +
                                       MapFiles::layer("main", 40, 30, {6, 2, 0, 5, 1, 8, 9}))))
        << listed(diagnostics);

    // GIDs 1, 2, 5, 6, 8, 9 become tiles 1 to 6.
    std::string def = output("level.def");
    EXPECT_EQ(0u, def.find("LEVELDEF level\n{ tileset 0 8 40 30\n4 2 0 3 1 5 6 0 0")) << def.substr(0, 80);
    Renderer renderer;
    Level level(&renderer);
    ASSERT_EQ(0, level.load((out() + "/").c_str()));
    ASSERT_EQ(1u, level.tilesets.size());
    level.draw();
    ASSERT_EQ(1200u, RenderLog::quads.size());
    const Tileset& main = *level.mainTileset;
    const std::string expected[7] = {rgbOf(tileColour(5)), rgbOf(tileColour(1)), M, rgbOf(tileColour(4)),
                                     rgbOf(tileColour(0)), rgbOf(tileColour(1)), "0,0,0"};
    BITMAP* drawn[7];
    for (int c = 0; c < 7; ++c) {
        const QuadCall& quad = RenderLog::quads[c];
        EXPECT_EQ(c * 8.0, quad.x);
        size_t tile = std::find(main.textures.begin(), main.textures.end(), quad.texture) - main.textures.begin();
        ASSERT_LT(tile, main.tilePictures.size());
        drawn[c] = main.tilePictures[tile];
        EXPECT_EQ(expected[c], rgb(drawn[c], 4, 4)) << "cell " << c;
    }
    // The magenta pixel of Tiled's tile 0 and the keyed green one of tile 1 of "keyed" are transparent.
    EXPECT_EQ(M, rgb(drawn[4], 2, 3));
    EXPECT_EQ(M, rgb(drawn[5], 1, 1));
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
            "   <property name=\"explosion\" type=\"int\" value=\"1\"/>\n  </properties>\n  <object id=\"1\" x=\"" +
            (infinite ? "-60" : "100") + "\" y=\"50\"/>\n </objectgroup>\n");
        return infinite ? text.replace(text.find("infinite=\"0\""), 12, "infinite=\"1\"") : text;
    };
    auto tmj = [](const std::string& tileset, const std::string& layer, bool infinite) {
        return std::string("{\"type\": \"map\", \"orientation\": \"orthogonal\", \"infinite\": ") +
               (infinite ? "true" : "false") + ", \"width\": 4, \"height\": 3, \"tilewidth\": 80, \"tileheight\": 80,\n"
               " \"tilesets\": [" + tileset + "],\n \"layers\": [{\"type\": \"tilelayer\", \"name\": \"main\", "
               "\"width\": 4, \"height\": 3, " + layer + "},\n  {\"type\": \"objectgroup\", \"name\": \"aliens\", "
               "\"properties\": [{\"name\": \"image\", \"type\": \"string\", \"value\": \"bmp/a.bmp\"},\n"
               "   {\"name\": \"explosion\", \"type\": \"int\", \"value\": 1}],\n"
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
        EXPECT_EQ(0, diagnostics.count(Diagnostics::Warning)) << test.form << "\n" << listed(diagnostics);
        // Tiles 1, 2 and the flipped 1 become 1, 2, 3.
        EXPECT_EQ("LEVELDEF level\n{ tileset 0 80 4 3\n1 0 2 0\n0 2 0 1\n3 2 0 0\n}\n", output("level.def")) << test.form;
        EXPECT_EQ("ALIENPROTOS 1\n0 bmp/a.bmp 1 0\nALIENDEF 1\n0 100 50\n", output("aliens.def")) << test.form;
        if (pictures.empty())
            pictures = output("level.dat");
        EXPECT_TRUE(pictures == output("level.dat")) << test.form;
    }
}

TEST_F(MapImporting, EveryKindOfTilesetAndEachFlipAndRotationGiveACellItsOwnPicture)
{
    // 2 x 2 tiles of 8 pixels with a margin of 2 and a spacing of 1, on white.
    BITMAP* spaced = create_bitmap_ex(32, 21, 21);
    clear_to_color(spaced, makecol32(255, 255, 255));
    for (int id = 0; id < 4; ++id)
        rectfill(spaced, 2 + id % 2 * 9, 2 + id / 2 * 9, 9 + id % 2 * 9, 9 + id / 2 * 9, tileColour(id));
    save("spaced.png", spaced);
    save("sets/file.png", tilesetPicture(2, 1, 8));
    save("sets/sheet.png", tilesetPicture(3, 1, 8));
    save("alone.png", makeBitmap(8, 8, tileColour(9)));
    // A tile "ab/cd" of four quarters; every one of the 8 turns puts its corners elsewhere.
    BITMAP* turned = create_bitmap_ex(32, 8, 8);
    for (int i = 0; i < 4; ++i)
        rectfill(turned, i % 2 * 4, i / 2 * 4, i % 2 * 4 + 3, i / 2 * 4 + 3, tileColour(10 + i));
    save("turned.png", turned);
    dir.write("maps/sets/file.tsx", "<tileset name=\"file\" tilewidth=\"8\" tileheight=\"8\" tilecount=\"2\" "
                                    "columns=\"2\">\n <image source=\"file.png\"/>\n</tileset>\n");
    std::string tilesets =
        " <tileset firstgid=\"1\" name=\"spaced\" tilewidth=\"8\" tileheight=\"8\" margin=\"2\" spacing=\"1\" "
        "tilecount=\"4\" columns=\"2\">\n  <image source=\"spaced.png\"/>\n </tileset>\n"
        " <tileset firstgid=\"5\" source=\"sets/file.tsx\"/>\n"
        " <tileset firstgid=\"7\" name=\"collection\" tilewidth=\"24\" tileheight=\"8\" tilecount=\"2\" columns=\"0\">\n"
        "  <tile id=\"0\"><image source=\"alone.png\"/></tile>\n"
        "  <tile id=\"1\" x=\"16\" y=\"0\" width=\"8\" height=\"8\"><image source=\"sets/sheet.png\"/></tile>\n"
        " </tileset>\n" + MapFiles::tileset(9, "turned", 8, 1, 1, "turned.png");
    const uint32_t X = TiledMap::FlipX, Y = TiledMap::FlipY, D = TiledMap::FlipDiagonal;
    // The colours of a cell's corners, top left, top right, bottom left, bottom right: a to d are the
    // turned tile's quarters, 0 to 9 the test tileset's colours.
    const struct {
        uint32_t gid;
        const char* corners;
    } cells[] = {
        {4, "3333"}, {6, "1111"}, {7, "9999"}, {8, "2222"}, {9, "abcd"}, {9 | X, "badc"}, {9 | Y, "cdab"},
        {9 | X | Y, "dcba"}, {9 | D, "acbd"}, {9 | D | X, "cadb"} /* a quarter clockwise */,
        {9 | D | Y, "bdac"} /* a quarter anticlockwise */, {9 | D | X | Y, "dbca"},
    };
    std::vector<uint32_t> gids;
    for (const auto& cell : cells)
        gids.push_back(cell.gid);
    ASSERT_EQ(MapImport::Imported, import(MapFiles::map(12, 1, 8, tilesets + MapFiles::layer("main", 12, 1, gids))))
        << listed(diagnostics);
    EXPECT_TRUE(findEntry(diagnostics, Diagnostics::Warning,
                          "96 x 8 pixels, smaller than the 320 x 240 screen: empty cells fill it out to 320 x 240"))
        << listed(diagnostics);
    Level level(nullptr);
    ASSERT_EQ(0, level.load((out() + "/").c_str()));
    const Tileset& main = *level.mainTileset;
    ASSERT_EQ(40, main.width);
    ASSERT_EQ(30, main.height);
    for (int c = 0; c < 12; ++c) {
        BITMAP* made = main.tilePictures[main.tiles[c].index];
        for (int i = 0; i < 4; ++i) {
            char corner = cells[c].corners[i];
            int id = corner >= 'a' ? 10 + corner - 'a' : corner - '0';
            EXPECT_EQ(rgbOf(tileColour(id)), rgb(made, i % 2 * 7, i / 2 * 7)) << "cell " << c << ", corner " << i;
        }
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
    // 320 + 0.8 * 330 = 584 pixels, 36.5 tiles, rounds up.
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
    };
    for (const char* warning : warnings)
        EXPECT_TRUE(findEntry(diagnostics, Diagnostics::Warning, warning)) << warning << "\n" << listed(diagnostics);
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
    ASSERT_EQ(MapImport::Imported, import(MapFiles::map(40, 30, 8, aliens + MapFiles::layer("main", 40, 30, {}) + objects)))
        << listed(diagnostics);
    EXPECT_EQ("ALIENPROTOS 1\n0 bmp/a.bmp 0 0\nALIENDEF 3\n0 40 48\n0 10 21\n0 100 30\n", output("aliens.def"));
}

TEST_F(MapImporting, AnAlienPictureInTheDataDirectoryIsNamedFromThereAndAnyOtherIsCopiedIntoTheLevel)
{
    BITMAP* alien = makeBitmap(16, 8, makecol32(0, 0, 200));
    saveBitmap(dir, "b.bmp", alien);
    saveBitmap(dir, "data/level0/c.bmp", alien);
    destroy_bitmap(alien);
    std::string own;
    FileBytes::read(dir.path() + "/b.bmp", own);
    std::error_code failed;
    std::filesystem::create_directory_symlink("../data/bmp", maps("art"), failed);
    std::filesystem::create_directory_symlink("data", dir.path() + "/game", failed);
    ASSERT_FALSE(failed) << failed.message();
    const struct {
        std::string image;  // as the map names it, from maps/
        bool property;      // given as the layer's "image" property rather than as a tile's picture
        std::string dataRoot;
        std::string named;  // in aliens.def; empty when refused
    } cases[] = {
        {"art/a.bmp", false, "data", "bmp/a.bmp"},
        {"../data/bmp/a.bmp", false, "game", "bmp/a.bmp"},
        {"bmp/a.bmp", true, "data", "bmp/a.bmp"},
        {dir.path() + "/data/../b.bmp", false, "data", "level0/b.bmp"},
        {"../b.bmp", true, "data", "level0/b.bmp"},
        {"../data/level0/c.bmp", false, "data", "level0/c.bmp"},
        {"../data2/bmp/a.bmp", false, "data", ""},
        {"../../../../../../../etc/b.bmp", true, "data", ""},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.image + " from " + test.dataRoot);
        std::string tileset = " <tileset firstgid=\"10\" name=\"aliens\" tilewidth=\"16\" tileheight=\"8\" "
                              "tilecount=\"1\" columns=\"0\">\n  <tile id=\"0\"><image source=\"" + test.image +
                              "\"/></tile>\n </tileset>\n";
        std::string aliens = (test.property ? "" : tileset) + MapFiles::layer("main", 40, 30, {}) +
                             " <objectgroup name=\"aliens\">\n" +
                             (test.property ? "  <properties><property name=\"image\" value=\"" + test.image +
                                                  "\"/></properties>\n  <object id=\"1\" x=\"40\" y=\"48\"/>\n"
                                            : "  <object id=\"1\" gid=\"10\" x=\"40\" y=\"56\"/>\n") +
                             " </objectgroup>\n";
        std::filesystem::remove_all(out(), failed);
        EXPECT_EQ(test.named.empty() ? MapImport::Refused : MapImport::Imported,
                  import(MapFiles::map(40, 30, 8, aliens), "level.tmx", test.dataRoot))
            << listed(diagnostics);
        if (test.named.empty()) {
            EXPECT_TRUE(findEntry(diagnostics, Diagnostics::Error, "is not found")) << listed(diagnostics);
            continue;
        }
        EXPECT_EQ("ALIENPROTOS 1\n0 " + test.named + " 0 0\nALIENDEF 1\n0 40 48\n", output("aliens.def"));
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(out()))
            files.push_back(entry.path().filename().string());
        EXPECT_EQ(test.named.compare(0, 7, "level0/") == 0 ? 4u : 3u, files.size());
        if (test.named == "level0/b.bmp") {
            EXPECT_TRUE(own == output("b.bmp"));
        }
    }
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
    auto aliens = [&set](const std::string& tileset, const std::string& objects) {
        return MapFiles::map(160, 120, 2, set + tileset + MapFiles::layer("main", 160, 120, {}) +
                                              " <objectgroup name=\"aliens\">\n" + objects + " </objectgroup>\n");
    };
    auto tmj = [](const std::string& map, const std::string& layer) {
        return "{\"type\": \"map\", \"orientation\": \"orthogonal\", \"width\": 160, \"height\": 120, \"tilewidth\": 2, "
               "\"tileheight\": 2, " + map + "\"layers\": [{\"type\": \"tilelayer\", \"name\": \"main\", \"width\": 160, "
               "\"height\": 120, " + layer + "}]}\n";
    };

    struct Case {
        std::string text;
        std::string message;
        std::string marker;  // the line the error must name; "" for a JSON path, line 0
    };
    // A map of 4 x 3 tiles whose first cell is gid, from the one tileset "cave" of the given attributes and contents.
    auto cave = [](int size, const std::string& attributes, const std::string& inside, uint32_t gid) {
        std::string tile = std::to_string(size);
        return MapFiles::map(4, 3, size, " <tileset firstgid=\"1\" name=\"cave\" tilewidth=\"" + tile +
                                             "\" tileheight=\"" + tile + "\"" + attributes + ">\n" + inside +
                                             " </tileset>\n" + MapFiles::layer("main", 4, 3, {gid}));
    };
    const std::string picture = "  <image source=\"small.png\"/>\n";
    const std::string caveJson = "{\"type\": \"map\", \"orientation\": \"orthogonal\", \"width\": 4, \"height\": 3, "
                                 "\"tilewidth\": 2, \"tileheight\": 2, "
                                 "\"tilesets\": [{\"firstgid\": 1, \"name\": \"cave\", \"tilewidth\": 2, "
                                 "\"tileheight\": 2, \"spacing\": -2, \"image\": \"small.png\"}], "
                                 "\"layers\": [{\"type\": \"tilelayer\", \"name\": \"main\", \"width\": 4, "
                                 "\"height\": 3, \"data\": [1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]}]}\n";
    // An infinite map of tiles of 1 pixel with a chunk at each corner given, as far apart as 32 bits allow.
    auto apart = [](const std::string& x, const std::string& y) {
        return "<?xml version=\"1.0\"?>\n<map orientation=\"orthogonal\" width=\"4\" height=\"4\" tilewidth=\"1\" "
               "tileheight=\"1\" infinite=\"1\">\n <layer name=\"main\" width=\"4\" height=\"4\">\n"
               "  <data encoding=\"csv\">\n   <chunk x=\"" + x + "\" y=\"" + y +
               "\" width=\"1\" height=\"1\">0</chunk>\n"
               "   <chunk x=\"0\" y=\"0\" width=\"1\" height=\"1\">0</chunk>\n  </data>\n </layer>\n</map>\n";
    };
    auto apartJson = [](const std::string& x, const std::string& y) {
        return "{\"type\": \"map\", \"orientation\": \"orthogonal\", \"infinite\": true, \"width\": 4, \"height\": 4, "
               "\"tilewidth\": 1, \"tileheight\": 1, \"layers\": [{\"type\": \"tilelayer\", \"name\": \"main\", "
               "\"width\": 4, \"height\": 4, \"chunks\": [{\"x\": " + x + ", \"y\": " + y + ", \"width\": 1, "
               "\"height\": 1, \"data\": [0]}, {\"x\": 0, \"y\": 0, \"width\": 1, \"height\": 1, \"data\": [0]}]}]}\n";
    };
    const std::string wide = "the chunks' bounding box is 2147483649 x 1 cells";
    const std::string tall = "the chunks' bounding box is 1 x 2147483649 cells";
    const std::string parallax = MapFiles::map(40, 20, 16, MapFiles::layer("near", 40, 20, {}, " parallaxx=\"1.5\"") +
                                                               MapFiles::layer("main", 40, 20, {}, " parallaxy=\"0.5\""));
    const Case cases[] = {
        {data(" encoding=\"base64\"", "AAA!AAAA"), "\"!\", which is not a base64 character", "AAA!"},
        {data(gzip, cut(MapFiles::packed(full, "gzip"))), "its gzip data is cut short", "<data"},
        {data(zstd, cut(MapFiles::packed(full, "zstd"))), "its zstd data is cut short", "<data"},
        {data(zlib, "eJz//w=="), "its zlib data is damaged", "<data"},
        {data(zlib, MapFiles::packed(full.substr(0, 400), "zlib")), "decodes to 400 bytes, not the 76800", "<data"},
        {data(zlib, MapFiles::packed(huge, "zlib")), "zlib data inflates beyond the 76800 bytes", "<data"},
        {data(zstd, MapFiles::packed(huge, "zstd")), "zstd data inflates beyond the 76800 bytes", "<data"},
        {data(" encoding=\"base64\" compression=\"lz4\"", "AAAA"), "compressed with \"lz4\"", "<data"},
        {MapFiles::map(256, 120, 2, set + MapFiles::layer("main", 256, 120, many)),
         "uses 256 different tiles, counting each of its 128 flipped or rotated tiles as a tile of its own", "<layer"},
        {"{\"type\": \"map\", \"orientation\": \"isometric\"}", "the map is isometric: only orthogonal", ""},
        {MapFiles::map(2, 2, 400, MapFiles::layer("main", 2, 2, {})), "tiles are 400 pixels wide", "<map"},
        {aliens("", "  <object id=\"1\" x=\"nan\" y=\"1\"/>\n"),
         "position, size, rotation and gid must be numbers", "\"nan\""},
        {aliens("", "  <object id=\"1.5\" x=\"1\" y=\"1\"/>\n"), "the object's id \"1.5\" is not a whole number", "1.5"},
        {tmj("\"tilesets\": [], ", "\"data\": [0, 0, 0, \"x\"]"), "layers[0].data[3]: layer \"main\": \"x\" is not a tile "
         "number", ""},
        {tmj("", "\"width\": -3, \"data\": []"), "layers[0].width: needs a whole number of at least 1", ""},
        {"{\"type\": \"map\",\n \"width\": ,\n \"height\": 3}", "is not well-formed JSON", "\"width\""},
        {"{\"type\": \"map\",\n \"width\": 1e99999}", "number overflow parsing '1e99999'", "\"width\""},
        {"<?xml version=\"1.0\"?>\n<map orientation=\"orthogonal\" width=\"40\" height=\"30\" tilewidth=\"8\" "
         "tileheight=\"16\" infinite=\"0\">\n</map>\n",
         "tiles are 8 x 16 pixels: the game's tiles are square", "<map"},
        {MapFiles::map(40, 30, 8, set + MapFiles::layer("main", 40, 30, {1})),
         "tile 1 (tile 0 of tileset \"small\") is 2 x 2 pixels, the map's tiles 8 x 8", "1,0,0"},
        {MapFiles::map(2100, 15, 16, MapFiles::layer("main", 2100, 15, {})), "the map is 33600 x 240 pixels",
         "<layer"},
        {aliens("", "  <properties>\n   <property name=\"image\" value=\"bmp/a.bmp\"/>\n  </properties>\n"
                    "  <object id=\"1\" x=\"40000\" y=\"3\"/>\n"),
         "(40000, 3) is beyond", "x=\"40000\""},
        {aliens(" <tileset firstgid=\"300\" name=\"aliens\" tilewidth=\"16\" tileheight=\"8\" tilecount=\"1\" "
                "columns=\"0\">\n  <tile id=\"0\"><image source=\"elsewhere/a.bmp\"/></tile>\n </tileset>\n",
                "  <object id=\"1\" gid=\"300\" x=\"4\" y=\"30\"/>\n"),
         "is not found", "<object id"},
        {"<?xml version=\"1.0\"?>\n<map orientation=\"orthogonal\">\n <layer>\n</map>\n", "is not well-formed XML",
         "<layer>"},
        {parallax, "has parallax 1.5 x 1", "name=\"near\""},
        {parallax, "its parallax factors must be 1", "name=\"main\""},
        {cave(2, " spacing=\"-2\"", picture, 1), "tileset \"cave\": spacing -2 must be 0 or more", "<tileset"},
        {caveJson, "tilesets[0]: tileset \"cave\": spacing -2 must be 0 or more", ""},
        {cave(2, " margin=\"-2\"", picture, 1), "tileset \"cave\": margin -2 must be 0 or more", "<tileset"},
        {cave(2, " spacing=\"2147483647\"", picture, 2),
         "tile 2 (tile 1 of tileset \"cave\") lies beyond the picture \"", "2,0,0"},
        {cave(2, " spacing=\"1.5\"", picture, 1), "needs a whole number as \"spacing\", not \"1.5\"", "<tileset"},
        {cave(16, "", "  <tile id=\"0\" x=\"2147483640\" width=\"16\" height=\"16\">" + picture.substr(2) +
                          "</tile>\n", 1),
         "tile 0 reaches beyond its picture", "<tile id"},
        {cave(2, "", "  <tile id=\"0\" x=\"-2\" width=\"2\" height=\"2\"><image source=\"small.png\"/></tile>\n", 1),
         "tileset \"cave\": tile 0's x -2 must be 0 or more", "<tileset"},
        {apart("-2147483648", "0"), wide, "<map"},
        {apart("0", "-2147483648"), tall, "<map"},
        {apartJson("-2147483648", "0"), wide, ""},
        {apartJson("0", "-2147483648"), tall, ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.message);
        EXPECT_EQ(MapImport::Refused, import(test.text, test.text[0] == '{' ? "level.tmj" : "level.tmx"));
        std::error_code none;
        EXPECT_FALSE(std::filesystem::exists(out() + "/level.def", none));
        const Diagnostics::Entry* error = findEntry(diagnostics, Diagnostics::Error, test.message);
        ASSERT_NE(nullptr, error) << listed(diagnostics);
        size_t at = test.marker.empty() ? 0 : test.text.find(test.marker);
        ASSERT_NE(std::string::npos, at);
        EXPECT_EQ(test.marker.empty() ? 0 : 1 + std::count(test.text.begin(), test.text.begin() + at, '\n'),
                  error->position.line);
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
    EXPECT_EQ(0, diagnostics.count(Diagnostics::Warning)) << listed(diagnostics);
    for (const char* file : {"level.def", "level.dat", "aliens.def"}) {
        std::string shipped, made;
        FileBytes::read(source + "/data/level0/" + file, shipped);
        FileBytes::read(out.path() + "/" + file, made);
        EXPECT_TRUE(shipped == made) << file << " differs from what importing levels/level0/level0.tmx makes";
    }
}

TEST_F(MapImporting, TheChecksFindingsInTheWrittenFilesAreToldAtTheLayerOrObjectOfTheMapTheyCameFrom)
{
    save("tiles.png", tilesetPicture(2, 1, 16));
    BITMAP* alien = makeBitmap(16, 8, makecol32(0, 200, 0));
    saveBitmap(dir, "data/bmp/a.bmp", alien);
    destroy_bitmap(alien);
    const std::string tmx = maps("level.tmx"), tmj = maps("level.tmj");
    const std::string buried = "the alien at (100, 200) is inside solid terrain: it explodes as soon as the game starts";
    // In the TMX map the map itself stands on line 2, "far" on 6, "main" on 25, the "image" property on 46 and
    // objects 3 and 7 on 48 and 49; in JSON "far", "main" and "aliens" are layers 0 to 2.
    const std::string expected[2] = {
        tmx + ":49: error: object 7 \"ufo\" of layer \"aliens\": " + buried + "\n" +
            tmx + ":6: warning: layer \"far\": w18\n" + tmx + ":25: note: layer \"main\": n19\n" +
            tmx + ":25: warning: layer \"main\": w35\n" +
            tmx + ":2: warning: title\n" + tmx + ":2: error: pictures\n" +
            tmx + ":46: warning: layer \"aliens\": proto\n" + tmx + ":2: warning: count\n" +
            tmx + ":48: warning: object 3 of layer \"aliens\": free\nelsewhere.txt:5:2: warning: kept\n",
        tmj + ": error: layers[2].objects[1]: object 7 \"ufo\" of layer \"aliens\": " + buried + "\n" +
            tmj + ": warning: layers[0]: layer \"far\": w18\n" + tmj + ": note: layers[1]: layer \"main\": n19\n" +
            tmj + ": warning: layers[1]: layer \"main\": w35\n" +
            tmj + ": warning: title\n" + tmj + ": error: pictures\n" +
            tmj + ": warning: layers[2].properties[0].value: layer \"aliens\": proto\n" + tmj + ": warning: count\n" +
            tmj + ": warning: layers[2].objects[0]: object 3 of layer \"aliens\": free\n"
                  "elsewhere.txt:5:2: warning: kept\n",
    };
    for (bool json : {false, true}) {
        SCOPED_TRACE(json ? "JSON" : "TMX");
        ASSERT_EQ(MapImport::Imported, import(MapFiles::layered(json), json ? "level.tmj" : "level.tmx")) << listed(diagnostics);
        EXPECT_EQ("", listed(diagnostics));
        Diagnostics found, described;
        LevelDirectoryCheck check(dir.path() + "/data", &found);
        check.run(out());
        // level.def: the title on line 1, "far" (30 x 15 cells kept) from line 2 to its "}" on 18, "main" on 19 to 35;
        // aliens.def: the prototype on line 2, "ALIENDEF" on 3, the aliens on 4 and 5.
        found.add(Diagnostics::Warning, out() + "/level.def", Diagnostics::Position{18, 1}, "w18");
        found.add(Diagnostics::Note, dir.path() + "/data/./level1/level.def", Diagnostics::Position{19, 3}, "n19");
        found.add(Diagnostics::Warning, out() + "/level.def", Diagnostics::Position{35, 1}, "w35");
        found.add(Diagnostics::Warning, out() + "/level.def", Diagnostics::Position{1, 10}, "title");
        found.add(Diagnostics::Error, out() + "/level.dat", Diagnostics::WholeFile, "pictures");
        found.add(Diagnostics::Warning, out() + "/aliens.def", Diagnostics::Position{2, 3}, "proto");
        found.add(Diagnostics::Warning, out() + "/aliens.def", Diagnostics::Position{3, 1}, "count");
        found.add(Diagnostics::Warning, out() + "/aliens.def", Diagnostics::Position{4, 1}, "free");
        found.add(Diagnostics::Warning, "elsewhere.txt", Diagnostics::Position{5, 2}, "kept");
        importer->describe(found, out() + "/", described);
        EXPECT_EQ(expected[json], listed(described)) << listed(found);
    }
}

TEST_F(MapImporting, TheCellsBeyondWhatABackgroundLayersParallaxShowsAreANoteGivenOnlyWhenVerbose)
{
    save("tiles.png", tilesetPicture(2, 1, 16));
    ASSERT_EQ(MapImport::Imported, import(MapFiles::layered(false)));
    EXPECT_EQ("", listed(diagnostics));
    verbose = true;
    ASSERT_EQ(MapImport::Imported, import(MapFiles::layered(false)));
    // "far" keeps 320 + 0.5 x (640 - 320) = 480 pixels, 30 columns: 10 columns of 15 rows are left out.
    EXPECT_EQ(maps("level.tmx") + ":6: note: layer \"far\" keeps its first 30 columns and 15 rows for its parallax "
                                  "0.5 x 1: 150 tiles beyond them are left out\n",
              listed(diagnostics));
}

TEST(LevelTextLines, EachBlockThePrototypeAndEachPlacementAreToldTheLineTheyStartOn)
{
    std::vector<int> lines(3, -1);
    LevelText::description("T", {{0, 16, 2, 3, std::vector<int>(6, 1)}, {1, 16, 1, 1, {1}}}, &lines);
    // The title on line 1; the first block's header on 2, its 3 rows and its "}" on 3 to 6; the second from 7.
    EXPECT_EQ((std::vector<int>{2, 7}), lines);
    LevelText::aliens("bmp/a.bmp", 1, {{1, 2}, {3, 4}}, &lines);
    // "ALIENPROTOS", the prototype, "ALIENDEF", then the placements.
    EXPECT_EQ((std::vector<int>{2, 4, 5}), lines);
    LevelText::aliens("", 0, {{1, 2}}, &lines);
    EXPECT_EQ((std::vector<int>{0, 3}), lines);
}

// A layer's name that would clear the screen is shown, not obeyed.
TEST_F(MapImporting, AnEscapeCodeInANameIsPrintedEscaped)
{
    save("tiles.png", tilesetPicture(2, 1, 16));
    const std::string tmx = MapFiles::layered(false);
    auto replaced = [](std::string text, const std::string& from, const std::string& to) {
        size_t at = text.find(from);
        return at == std::string::npos ? std::string() : text.replace(at, from.size(), to);
    };
    EXPECT_EQ(MapImport::Imported,
              import(replaced(tmx, " <layer name=\"main\"",
                              " <layer name=\"\x1b[2J\" width=\"1\" height=\"1\" visible=\"0\"><data encoding=\"csv\">"
                              "0</data></layer>\n <layer name=\"main\""),
                     "level.tmx"));
    const Diagnostics::Entry* hidden = findEntry(diagnostics, Diagnostics::Warning, "[2J");
    ASSERT_TRUE(hidden) << listed(diagnostics);
    std::string line = Diagnostics::format(*hidden);
    EXPECT_EQ(std::string::npos, line.find('\x1b')) << line;
    EXPECT_NE(std::string::npos, line.find("\"\\x1b[2J\"")) << line;
}
