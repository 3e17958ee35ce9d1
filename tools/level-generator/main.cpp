// Builds the first level: paints the three layers and writes them into the level's Tiled map
// with their tileset pictures. Whether the ship can fly the cave is the playtest's to tell,
// with the game's own terrain test.
//
//   skiff-level-generator [MAP]
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "CaveLayer.h"
#include "FarLayer.h"
#include "MapDocument.h"
#include "NearLayer.h"
#include "headless/ScratchFiles.h"
#include "level/LevelFormat.h"
#include "render/Screen.h"

namespace {

// Writes the layers into the map at mapPath and their tileset pictures beside it. Every file is
// written aside first and moved into place only when all are written, so that a failure leaves
// the old ones. 0, or -1 with the reason on stderr.
int writeMap(const std::string& mapPath, const TileLayer* const* layers, int count)
{
    MapDocument map;
    if (map.load(mapPath) != 0)
        return -1;
    map.replaceLayers(layers, count);
    std::filesystem::path directory = std::filesystem::path(mapPath).parent_path();
    std::vector<std::pair<std::string, std::string>> files;  // written aside, and where they go
    bool written = true;
    for (int k = 0; k <= count && written; k++) {
        std::string path = k < count ? (directory / (std::string(layers[k]->name()) + ".png")).string() : mapPath;
        files.push_back(std::make_pair(path + ".new", path));
        if (k < count) {
            written = savePng(files.back().first, layers[k]->picture()) == 0;
        } else {
            std::ofstream out(files.back().first, std::ios::binary);
            written = static_cast<bool>(out << map.text()) && static_cast<bool>(out.flush());
        }
        if (!written)
            fprintf(stderr, "cannot write %s\n", path.c_str());
    }
    std::error_code failed;
    for (size_t k = 0; k < files.size() && written; k++) {
        std::filesystem::rename(files[k].first, files[k].second, failed);
        written = !failed;
    }
    for (const std::pair<std::string, std::string>& file : files)
        std::filesystem::remove(file.first, failed);
    return written ? 0 : -1;
}

}

int main(int argc, char** argv)
{
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        fprintf(stderr, "usage: %s [MAP]\n", argv[0]);
        return 2;
    }
    const char* mapPath = argc == 2 ? argv[1] : nullptr;
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return 1;
    set_color_depth(32);

    FarLayer farLayer;
    NearLayer nearLayer;
    CaveLayer cave;
    TileKey blank = CaveLayer::blankKey();
    if (farLayer.build(nullptr) != 0 || nearLayer.build(nullptr) != 0 || cave.build(&blank) != 0)
        return 1;

    const TileLayer* layers[3] = { &farLayer, &nearLayer, &cave };
    for (int k = 0; k < 3; k++) {
        const TileLayer& l = *layers[k];
        printf("%-4s %3d x %2d cells, %4d x %3d px, %3d tiles, factors %.4f %.4f\n", l.name(), l.columns(),
               l.rows(), l.pixelWidth(), l.pixelHeight(), l.tileCount(),
               LevelFormat::parallaxFactor(l.pixelWidth(), cave.pixelWidth(), ScreenWidth),
               LevelFormat::parallaxFactor(l.pixelHeight(), cave.pixelHeight(), ScreenHeight));
    }

    if (mapPath && writeMap(mapPath, layers, 3) != 0)
        return 1;
    return 0;
}
