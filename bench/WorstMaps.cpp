#include "WorstMaps.h"

#include <allegro.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>

#include "headless/ScratchFiles.h"

namespace WorstMaps {

namespace {

const std::string Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string mapStart(int width, int height, int tileSize, bool infinite)
{
    return Declaration + "<map orientation=\"orthogonal\" width=\"" + std::to_string(width) + "\" height=\"" +
           std::to_string(height) + "\" tilewidth=\"" + std::to_string(tileSize) + "\" tileheight=\"" +
           std::to_string(tileSize) + "\" infinite=\"" + (infinite ? "1" : "0") + "\">\n";
}

std::string tileset(int firstGid, const std::string& name, int tileSize, int columns, int tiles,
                    const std::string& image, const std::string& extra = "")
{
    return " <tileset firstgid=\"" + std::to_string(firstGid) + "\" name=\"" + name + "\" tilewidth=\"" +
           std::to_string(tileSize) + "\" tileheight=\"" + std::to_string(tileSize) + "\" tilecount=\"" +
           std::to_string(tiles) + "\" columns=\"" + std::to_string(columns) + "\">\n  <image source=\"" + image +
           "\"" + extra + "/>\n </tileset>\n";
}

// count cells of gid, comma-separated.
std::string csv(int64_t count, uint32_t gid)
{
    std::string one = std::to_string(gid);
    std::string text;
    text.reserve(static_cast<size_t>(count) * (one.size() + 1));
    for (int64_t cell = 0; cell < count; ++cell) {
        if (cell > 0)
            text += ',';
        text += one;
    }
    return text;
}

// Base64 of the zlib stream of count cells of gid.
std::string zlibCells(int64_t count, uint32_t gid)
{
    std::string cells;
    cells.reserve(static_cast<size_t>(count) * 4);
    for (int64_t cell = 0; cell < count; ++cell)
        for (int shift = 0; shift < 32; shift += 8)
            cells.push_back(static_cast<char>(gid >> shift));
    uLongf size = compressBound(static_cast<uLong>(cells.size()));
    std::string packed(size, '\0');
    compress2(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(cells.data()),
              static_cast<uLong>(cells.size()), 6);
    packed.resize(size);
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (size_t i = 0; i < packed.size(); i += 3) {
        unsigned group = 0;
        for (size_t k = 0; k < 3; ++k)
            group = group << 8 | (i + k < packed.size() ? static_cast<unsigned char>(packed[i + k]) : 0);
        for (size_t k = 0; k < 4; ++k)
            text += k <= packed.size() - i ? digits[group >> (18 - 6 * k) & 63] : '=';
    }
    return text;
}

void savePicture(const std::string& path, BITMAP* picture)
{
    savePng(path, picture);
    destroy_bitmap(picture);
}

}

std::vector<Case> write(const TempDir& dir)
{
    std::vector<Case> cases;
    const std::string maps = dir.path() + "/maps/";
    std::filesystem::create_directories(maps);
    savePicture(maps + "tiles16.png", makeBitmap(32, 16, makecol32(90, 60, 30)));
    savePicture(maps + "tiles8.png", makeBitmap(16, 8, makecol32(90, 60, 30)));
    const std::string tiles16 = tileset(1, "tiles", 16, 2, 2, "tiles16.png");
    const std::string tiles8 = tileset(1, "tiles", 8, 2, 2, "tiles8.png");
    const int Side = 2048;  // of the largest square layer
    const int64_t Cells = static_cast<int64_t>(Side) * Side;

    // Sixty hidden layers whose chunks lie four million cells apart: none is decoded or given a grid.
    std::string hidden = mapStart(32, 16, 16, true) + tiles16;
    for (int layer = 0; layer < 60; ++layer)
        hidden += " <layer name=\"h" + std::to_string(layer) + "\" width=\"1\" height=\"1\" visible=\"0\">"
                  "<data encoding=\"csv\"><chunk x=\"-2097152\" y=\"-2097152\" width=\"1\" height=\"1\">1</chunk>"
                  "<chunk x=\"2097152\" y=\"2097152\" width=\"1\" height=\"1\">1</chunk></data></layer>\n";
    hidden += " <layer name=\"main\" width=\"32\" height=\"16\"><data encoding=\"csv\">"
              "<chunk x=\"0\" y=\"0\" width=\"32\" height=\"16\">" + csv(32 * 16, 1) +
              "</chunk></data></layer>\n</map>\n";
    cases.push_back(Case{"60 hidden layers far apart", "import", dir.write("maps/hidden.tmx", hidden), 0});

    const std::string full = csv(Cells, 1);
    cases.push_back(Case{"a layer of 4,194,304 cells in CSV", "import",
                         dir.write("maps/csv.tmx", mapStart(Side, Side, 8, false) + tiles8 +
                                                       " <layer name=\"main\" width=\"2048\" height=\"2048\">"
                                                       "<data encoding=\"csv\">" + full + "</data></layer>\n</map>\n"),
                         0});
    cases.push_back(Case{"a layer of 4,194,304 cells in JSON", "import",
                         dir.write("maps/cells.tmj",
                                   "{\"type\": \"map\", \"orientation\": \"orthogonal\", \"width\": 2048, \"height\": "
                                   "2048, \"tilewidth\": 8, \"tileheight\": 8, \"tilesets\": [{\"firstgid\": 1, "
                                   "\"name\": \"tiles\", \"tilewidth\": 8, \"tileheight\": 8, \"tilecount\": 2, "
                                   "\"columns\": 2, \"image\": \"tiles8.png\"}], \"layers\": [{\"type\": "
                                   "\"tilelayer\", \"name\": \"main\", \"width\": 2048, \"height\": 2048, \"data\": [" +
                                       full + "]}]}\n"),
                         0});

    // Two full layers: the map's cells to the last one.
    const std::string packed = zlibCells(Cells, 1);
    std::string two = mapStart(Side, Side, 8, false) + tiles8;
    for (const char* name : {"far", "main"})
        two += " <layer name=\"" + std::string(name) + "\" width=\"2048\" height=\"2048\"" +
               (name[0] == 'f' ? " parallaxx=\"0.5\" parallaxy=\"0.5\"" : "") +
               "><data encoding=\"base64\" compression=\"zlib\">" + packed + "</data></layer>\n";
    cases.push_back(Case{"two layers at the map's cells", "import", dir.write("maps/two.tmx", two + "</map>\n"), 0});

    // Four pictures of the largest size, 256 MB decoded together.
    std::string four = mapStart(20, 15, 16, false);
    std::string used;
    for (int k = 0; k < 4; ++k) {
        std::string name = "big" + std::to_string(k) + ".png";
        savePicture(maps + name, makeBitmap(4096, 4096, makecol32(40 * k, 100, 200 - 40 * k)));
        four += tileset(1 + 65536 * k, "t" + std::to_string(k), 16, 256, 65536, name);
        used += std::to_string(1 + 65536 * k) + ",";
    }
    four += " <layer name=\"main\" width=\"20\" height=\"15\"><data encoding=\"csv\">" + used + csv(296, 0) +
            "</data></layer>\n</map>\n";
    cases.push_back(Case{"four pictures of 4096 x 4096", "import", dir.write("maps/four.tmx", four), 0});

    // 31 tiles of 288 pixels in their 8 turns: with tile 0, 249 tiles in a picture of 4608 x 4608, whose
    // 63,700,992 bytes level.dat just holds.
    savePicture(maps + "wide.png", makeBitmap(288, 31 * 288, makecol32(90, 60, 30)));
    std::string turned;
    for (uint32_t tile = 1; tile <= 31; ++tile)
        for (uint32_t flips = 0; flips < 8; ++flips)
            turned += std::to_string(tile | flips << 29) + ",";
    cases.push_back(Case{"a layer picture at level.dat's limit", "import",
                         dir.write("maps/wide.tmx", mapStart(16, 16, 288, false) +
                                                        tileset(1, "wide", 288, 1, 31, "wide.png") +
                                                        " <layer name=\"main\" width=\"16\" height=\"16\">"
                                                        "<data encoding=\"csv\">" + turned + csv(8, 0) +
                                                        "</data></layer>\n</map>\n"),
                         0});

    // 16 MB of what a parser holds dearest: empty objects, bare elements, numbers.
    const size_t fill = (16 << 20) - 4096;
    std::string objects(fill / 3 * 3, ',');
    for (size_t i = 0; i < objects.size(); i += 3)
        objects.replace(i, 2, "{}");
    objects.pop_back();
    const std::string jsonStart = "{\"type\": \"map\", \"orientation\": \"orthogonal\", \"width\": 20, \"height\": 15, "
                                  "\"tilewidth\": 16, \"tileheight\": 16, \"tilesets\": [{\"firstgid\": 1, \"name\": "
                                  "\"tiles\", \"tilewidth\": 16, \"tileheight\": 16, \"tilecount\": 2, \"columns\": 2, "
                                  "\"image\": \"tiles16.png\"}], \"layers\": [{\"type\": \"tilelayer\", \"name\": "
                                  "\"main\", \"width\": 20, \"height\": 15, \"data\": [" + csv(300, 1) + "]}";
    cases.push_back(Case{"16 MB of empty JSON objects", "import",
                         dir.write("maps/objects.tmj", jsonStart + ", {\"type\": \"objectgroup\", \"name\": \"x\", "
                                                                   "\"objects\": [" + objects + "]}]}\n"),
                         1});
    cases.push_back(Case{"16 MB of JSON numbers", "import",
                         dir.write("maps/numbers.tmj", jsonStart + "], \"junk\": [" + csv(fill / 2, 0) + "]}\n"), 0});
    std::string elements;
    elements.reserve(fill);
    while (elements.size() + 4 <= fill)
        elements += "<a/>";
    cases.push_back(Case{"16 MB of bare XML elements", "import",
                         dir.write("maps/elements.tmx", mapStart(20, 15, 16, false) + tiles16 +
                                                            " <layer name=\"main\" width=\"20\" height=\"15\">"
                                                            "<data encoding=\"csv\">" + csv(300, 1) +
                                                            "</data></layer>\n"
                                                            "<x>" + elements + "</x></map>\n"),
                         1});

    // Level directories of 20 MB text files, which the game reads too.
    BITMAP* picture = makeBitmap(32, 16, makecol32(90, 60, 30));
    std::vector<int> floor(20 * 15, 0);
    for (int c = 0; c < 20; ++c)
        floor[14 * 20 + c] = 1;
    writeLevelDirectory(dir, "levels/braces/", picture, LevelText::Block{0, 16, 20, 15, floor}, "");
    std::string braces(20 << 20, ' ');
    for (size_t i = 0; i < braces.size(); i += 2)
        braces[i] = '{';
    dir.write("levels/braces/level.def", "LEVELDEF Braces\n" + braces);
    cases.push_back(Case{"a level.def of 20 MB of braces", "check", dir.path() + "/levels/braces", 1});

    std::string aliens = "ALIENPROTOS 100000\n";
    for (int i = 0; i < 100000; ++i)
        aliens += "0 bmp/alien.bmp 0 0\n";
    aliens += "ALIENDEF 1000000\n";
    for (int i = 0; i < 1000000; ++i)
        aliens += "0 100 100\n";
    writeLevelDirectory(dir, "levels/aliens/", picture, LevelText::Block{0, 16, 20, 15, floor}, aliens);
    cases.push_back(Case{"an aliens.def of 100,000 prototypes and 1,000,000 aliens", "check",
                         dir.path() + "/levels/aliens", 1});
    destroy_bitmap(picture);
    return cases;
}

}
