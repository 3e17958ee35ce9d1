#include <allegro.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "LevelImport.h"
#include "MapFiles.h"
#include "TiledMap.h"
#include "ToolTestData.h"
#include "core/FileBytes.h"
#include "headless/ScratchFiles.h"

namespace {

// Stand-ins for contents that are no file of bytes.
const char Fifo[] = "\x01fifo";
const char Zero[] = "\x01/dev/zero";
const char Random[] = "\x01/dev/urandom";
const char Folder[] = "\x01folder";
const char Huge[] = "\x01huge";

std::string little(uint32_t value, int bytes)
{
    std::string text;
    for (int i = 0; i < bytes; ++i)
        text.push_back(static_cast<char>(value >> (8 * i) & 0xff));
    return text;
}

// A BMP of width x height, 24 bits, with the given compression, and pixels bytes after its headers.
std::string bmp(uint32_t width, uint32_t height, uint32_t compression, size_t pixels)
{
    return "BM" + little(static_cast<uint32_t>(54 + pixels), 4) + little(0, 4) + little(54, 4) + little(40, 4) +
           little(width, 4) + little(height, 4) + little(1, 2) + little(24, 2) + little(compression, 4) +
           std::string(20, '\0') + std::string(pixels, '\x40');
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    size_t at = text.find(from);
    return at == std::string::npos ? std::string() : text.replace(at, from.size(), to);
}

// Every regular file under root by its path, with its bytes, and every other entry with its kind.
std::map<std::string, std::string> tree(const std::string& root)
{
    std::map<std::string, std::string> found;
    std::error_code none;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, none)) {
        std::string contents = entry.is_directory(none) ? "<directory>" : "<other>";
        if (entry.is_regular_file(none))
            FileBytes::read(entry.path(), contents);
        found[entry.path().string()] = contents;
    }
    return found;
}

// maps/ holds the strangers' files, data/ is the game's working directory, and levels/mine/ a level
// imported before, which a refused import with --force must leave as it was, byte for byte.
class HostileMaps : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(std::filesystem::create_directories(dir.path() + "/maps"));
        ASSERT_TRUE(std::filesystem::create_directories(dir.path() + "/data/bmp"));
        ASSERT_TRUE(std::filesystem::create_directories(dir.path() + "/levels"));
        BITMAP* alien = makeBitmap(16, 8, makecol32(0, 200, 0));
        saveBitmap(dir, "data/bmp/a.bmp", alien);
        destroy_bitmap(alien);
        BITMAP* tiles = tilesetPicture(2, 1, 16);
        ASSERT_EQ(0, savePng(dir.path() + "/maps/tiles.png", tiles));
        destroy_bitmap(tiles);
        // Without the alien buried in the rock, which the check refuses.
        const std::string good = replaced(MapFiles::layered(false), "x=\"100\" y=\"200\"", "x=\"100\" y=\"100\"");
        ASSERT_EQ(LevelImport::Imported, import(dir.write("maps/good.tmx", good))) << listed(diagnostics);
        before = tree(dir.path() + "/levels");
        ASSERT_EQ(4u, before.size());
    }

    int import(const std::string& map)
    {
        diagnostics = Diagnostics();
        LevelImport importer(dir.path() + "/data", false, &diagnostics);
        return importer.run(map, out(), true);
    }

    std::string out() const { return dir.path() + "/levels/mine"; }

    // Writes contents, or makes what a stand-in names, at maps/name.
    void make(const std::string& name, const std::string& contents)
    {
        std::string path = dir.path() + "/maps/" + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::filesystem::remove(path);
        if (contents == Fifo)
            ASSERT_EQ(0, mkfifo(path.c_str(), 0600));
        else if (contents == Zero || contents == Random)
            std::filesystem::create_symlink(contents.substr(1), path);
        else if (contents == Folder)
            std::filesystem::create_directory(path);
        else if (contents == Huge)
            std::filesystem::resize_file(dir.write("maps/" + name, ""), (16 << 20) + 1);
        else
            dir.write("maps/" + name, contents);
    }

    TempDir dir;
    Diagnostics diagnostics;
    std::map<std::string, std::string> before;
};

}

// Each row is a stranger's map with the files it names, and the error it must be refused with. The
// level in place stays as it was, and nothing is left beside it.
TEST_F(HostileMaps, EveryHostileFileIsRefusedWithItsErrorAndTheLevelInPlaceStaysAsItWas)
{
    const std::string tmx = MapFiles::layered(false);
    const std::string json = MapFiles::layered(true);
    const std::string named = MapFiles::map(20, 15, 16, " <tileset firstgid=\"1\" source=\"sets/named.tsx\"/>\n" +
                                                            MapFiles::layer("main", 20, 15, {1}));
    const std::string pictured = MapFiles::map(
        20, 15, 16, MapFiles::tileset(1, "cave", 16, 2, 2, "cave.png") + MapFiles::layer("main", 20, 15, {1}));
    const std::string madeUp(200, '\x11');
    // Tiled multiplies a layer's parallax by its groups': 1e200 twice is infinite, and by 0 then NaN.
    const std::string nan = replaced(
        replaced(tmx, " <layer name=\"far\"",
                 " <group name=\"a\" parallaxx=\"1e200\"><group name=\"b\" parallaxx=\"1e200\">"
                 "<group name=\"c\" parallaxx=\"0\">\n <layer name=\"far\""),
        " <layer name=\"main\"", " </group></group></group>\n <layer name=\"main\"");
    // 31 tiles of 320 pixels, each in its 8 turns, use 248 tiles: with tile 0, 249 in a picture of 16 x 16 tiles of
    // 320 pixels, 5120 x 5120, which level.dat holds in 8 + (12 + 8 "MAIN_BMP" + 12 + 6 + 5120 * 5120 * 3)
    // = 78,643,246 bytes, 11,534,382 more than the game's 67,108,864.
    std::vector<uint32_t> turned;
    for (uint32_t tile = 1; tile <= 31; ++tile)
        for (uint32_t flips = 0; flips < 8; ++flips)
            turned.push_back(tile | flips << 29);
    const std::string wide = MapFiles::map(16, 16, 320, MapFiles::tileset(1, "wide", 320, 1, 31, "wide.png") +
                                                            MapFiles::layer("main", 16, 16, turned));

    struct Row {
        const char* what;
        std::vector<std::pair<std::string, std::string>> files;  // the map first
        std::string error;
    };
    const Row rows[] = {
        {"a map that is a FIFO", {{"m.tmx", Fifo}}, "m.tmx: error: is not a regular file"},
        {"a map that is /dev/zero", {{"m.tmx", Zero}}, "is not a regular file"},
        {"a map that is a directory", {{"m.tmx", Folder}}, "is not a regular file"},
        {"a map of 16 MB and a byte", {{"m.tmx", Huge}}, "is larger than 16 MB"},
        {"a tileset file that is a FIFO", {{"m.tmx", named}, {"sets/named.tsx", Fifo}},
         "the tileset file \"" + dir.path() + "/maps/sets/named.tsx\" is not a regular file"},
        {"a tileset picture that is a FIFO", {{"m.tmx", pictured}, {"cave.png", Fifo}}, "is not a regular file"},
        {"a tileset picture that is /dev/urandom", {{"m.tmx", pictured}, {"cave.png", Random}},
         "is not a regular file"},
        {"a PNG claiming 60000 x 60000", {{"m.tmx", pictured}, {"cave.png", pngFile(60000, 60000, 8, 6, 0, "", madeUp)}},
         "cave.png\" of tileset \"cave\" has a header that cannot be trusted: it claims 60000 x 60000 pixels"},
        {"a PNG claiming 16384 x 16384", {{"m.tmx", pictured}, {"cave.png", pngFile(16384, 16384, 8, 6, 0, "", madeUp)}},
         "has a header that cannot be trusted"},
        {"a BMP claiming 60000 x 60000", {{"m.tmx", pictured}, {"cave.png", bmp(60000, 60000, 0, 100)}},
         "has a header that cannot be trusted: it claims 60000 x 60000 pixels"},
        {"a BMP of runs (RLE8)", {{"m.tmx", pictured}, {"cave.png", bmp(16, 16, 1, 768)}},
         "is a run-length compressed BMP, which is not read"},
        {"a BMP whose rows lie beyond its end", {{"m.tmx", pictured}, {"cave.png", bmp(16, 16, 0, 700)}},
         "has a header that cannot be trusted"},
        {"a NUL in a layer's name", {{"m.tmj", replaced(json, "\"name\": \"far\"", "\"name\": \"f\\u0000ar\"")}},
         "holds a NUL character"},
        {"a NUL in the alien picture's name",
         {{"m.tmj", replaced(json, "\"value\": \"bmp/a.bmp\"", "\"value\": \"bmp/a.bmp\\u0000/../x\"")}},
         "holds a NUL character"},
        {"a .json file that is an array", {{"m.json", "[{\"type\": \"map\"}]\n"}},
         "is not a Tiled map: it is not a JSON object"},
        {"a .json file of XML", {{"m.json", "<map orientation=\"orthogonal\"/>\n"}}, "is not well-formed JSON"},
        {"a parallax of NaN", {{"m.tmx", nan}}, "a background layer scrolls at 0 to 1 times"},
        {"a layer whose picture level.dat cannot hold", {{"m.tmx", wide}, {"wide.png", "\x01wide"}},
         "layer \"main\": its picture of 249 tiles, 5120 x 5120 pixels, brings level.dat to 78,643,246 bytes, "
         "11,534,382 more than the game loads"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        for (const auto& file : row.files) {
            if (file.second == "\x01wide") {
                BITMAP* picture = tilesetPicture(1, 31, 320);
                ASSERT_EQ(0, savePng(dir.path() + "/maps/" + file.first, picture));
                destroy_bitmap(picture);
            } else {
                make(file.first, file.second);
            }
        }
        EXPECT_EQ(LevelImport::Failed, import(dir.path() + "/maps/" + row.files[0].first));
        bool found = false;
        for (const Diagnostics::Entry& entry : diagnostics.entries)
            found = found || (entry.severity == Diagnostics::Error && Diagnostics::format(entry).find(row.error) !=
                                                                          std::string::npos);
        EXPECT_TRUE(found) << listed(diagnostics);
        EXPECT_TRUE(tree(dir.path() + "/levels") == before) << "the level in place changed";
    }
}

// Tile pictures, each within the limits, that together would take more memory than the importer
// holds: the same picture of 4096 x 4096 pixels, 64 MB decoded, with five transparent colours is five
// pictures, and the fifth brings them to 320 MB.
TEST_F(HostileMaps, TilePicturesBeyondWhatTheImporterHoldsAreRefused)
{
    BITMAP* picture = makeBitmap(4096, 4096, makecol32(10, 20, 30));
    ASSERT_EQ(0, savePng(dir.path() + "/maps/big.png", picture));
    destroy_bitmap(picture);
    std::string body;
    std::vector<uint32_t> used;
    for (int k = 0; k < 5; ++k) {
        char trans[16];
        snprintf(trans, sizeof trans, " trans=\"00000%d\"", k + 1);
        body += MapFiles::tileset(1 + 65536 * k, "t" + std::to_string(k), 16, 256, 65536, "big.png", trans);
        used.push_back(1 + 65536 * k);
    }
    const std::string map = MapFiles::map(20, 15, 16, body + MapFiles::layer("main", 20, 15, used));
    EXPECT_EQ(LevelImport::Failed, import(dir.write("maps/m.tmx", map)));
    EXPECT_TRUE(findEntry(diagnostics, Diagnostics::Error,
                          "of tileset \"t4\" (4096 x 4096 pixels) brings the tile pictures to 320 MB decoded, past the "
                          "importer's 256 MB"))
        << listed(diagnostics);
    EXPECT_TRUE(tree(dir.path() + "/levels") == before);
}

// Writing may fail halfway: past a file size limit (the tests run as root, so a limit rather than
// file modes), the import fails, says so, and the level in place is as it was.
TEST_F(HostileMaps, AWriteThatFailsHalfwayLeavesTheLevelInPlaceAsItWas)
{
    const std::string map = dir.write("maps/again.tmx", replaced(MapFiles::layered(false), "y=\"200\"", "y=\"100\""));
    EXPECT_EXIT(
        {
            signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit;
            limit.rlim_cur = limit.rlim_max = 2000;
            setrlimit(RLIMIT_FSIZE, &limit);
            int result = import(map);
            bool told = findEntry(diagnostics, Diagnostics::Error, "cannot be written") != nullptr;
            exit(result == LevelImport::Failed && told ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(tree(dir.path() + "/levels") == before);
}

// A directory or a FIFO may stand in the place of a level file in the directory an import replaces. A
// directory is something of the author's, kept; a FIFO named aliens.def or level.dat is never opened
// (aliens.def would name the pictures the level brings), only replaced.
TEST_F(HostileMaps, WhatStandsInTheLevelFilesPlaceIsKeptOrReplacedWithoutWaitingOnIt)
{
    const std::string map = dir.write("maps/good.tmx", replaced(MapFiles::layered(false), "y=\"200\"", "y=\"100\""));
    const struct {
        const char* file;
        bool directory;
        int result;
    } rows[] = {
        {"level.def", true, LevelImport::Failed},
        {"aliens.def", false, LevelImport::Imported},
        {"level.dat", false, LevelImport::Imported},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        std::string path = out() + "/" + row.file;
        std::filesystem::remove(path);
        if (row.directory)
            std::filesystem::create_directory(path);
        else
            ASSERT_EQ(0, mkfifo(path.c_str(), 0600));
        std::map<std::string, std::string> inPlace = tree(dir.path() + "/levels");
        EXPECT_EQ(row.result, import(map)) << listed(diagnostics);
        if (row.result == LevelImport::Failed)
            EXPECT_TRUE(tree(dir.path() + "/levels") == inPlace);
        else
            EXPECT_TRUE(tree(dir.path() + "/levels") == before);
        std::filesystem::remove_all(out());
        ASSERT_EQ(LevelImport::Imported, import(map));
    }
}
