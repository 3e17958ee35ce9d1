// Builds the first level: paints the three layers, checks that the ship can fly the
// whole cave, and writes them into the level's Tiled map with their tileset pictures.
//
//   skiff-level-generator [--preview FILE [FROM TO]] [--overview FILE] [MAP]
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "CaveLayer.h"
#include "FarLayer.h"
#include "MapDocument.h"
#include "NearLayer.h"
#include "Passage.h"
#include "PendingFiles.h"
#include "Preview.h"
#include "level/LevelFormat.h"
#include "render/Screen.h"

namespace {

const int shipWidth = 24, shipHeight = 12, entryY = 100;
// The ship steers 2 pixels a step while the cave scrolls by one scroll step: this many pixels
// of climbing for every pixel the cave moves on.
const double steerPerStep = 2.0;
const int climbPerPixel = (int)(steerPerStep / LevelFormat::ScrollStep + 0.5);
const int leastGap = 48;

int save(BITMAP* bitmap, const std::string& path)
{
    if (save_bitmap(path.c_str(), bitmap, nullptr) != 0) {
        fprintf(stderr, "cannot write %s\n", path.c_str());
        return -1;
    }
    return 0;
}

// Writes the layers into the map at mapPath and their tileset pictures beside it, every file
// aside first, so that a failure leaves the old ones. 0, or -1 with the reason on stderr.
int writeMap(const std::string& mapPath, const TileLayer* const* layers, int count)
{
    MapDocument map;
    if (map.load(mapPath) != 0)
        return -1;
    map.replaceLayers(layers, count);
    PendingFiles files;
    std::filesystem::path directory = std::filesystem::path(mapPath).parent_path();
    for (int k = 0; k < count; k++) {
        std::string picture = (directory / (std::string(layers[k]->name()) + ".png")).string();
        if (layers[k]->savePicture(files.aside(picture)) != 0) {
            fprintf(stderr, "cannot write %s\n", picture.c_str());
            return -1;
        }
    }
    if (map.save(files.aside(mapPath)) != 0)
        return -1;
    return files.commit();
}

}

int main(int argc, char** argv)
{
    const char* previewPath = nullptr;
    const char* overviewPath = nullptr;
    const char* mapPath = nullptr;
    double from = 0, to = -1;
    for (int i = 1; i < argc; i++) {
        if (!strcmp(argv[i], "--preview") && i + 1 < argc) {
            previewPath = argv[++i];
            if (i + 2 < argc && argv[i + 1][0] != '-') {
                from = atof(argv[++i]);
                to = atof(argv[++i]);
            }
        } else if (!strcmp(argv[i], "--overview") && i + 1 < argc) {
            overviewPath = argv[++i];
        } else if (argv[i][0] != '-' && !mapPath) {
            mapPath = argv[i];
        } else {
            fprintf(stderr, "usage: %s [--preview FILE [FROM TO]] [--overview FILE] [MAP]\n", argv[0]);
            return 2;
        }
    }
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

    std::vector<unsigned char> solid = cave.solidPixels();
    Passage passage(solid, cave.pixelWidth(), cave.pixelHeight(), shipWidth, shipHeight, climbPerPixel);
    if (!passage.fly(entryY)) {
        fprintf(stderr, "the ship cannot pass: blocked after x = %d (column %d)\n", passage.furthest(),
                (passage.furthest() + shipWidth) / TileLayer::TileSize);
        return 1;
    }
    int gapX;
    int gap = passage.narrowestGap(gapX);
    printf("passable; narrowest gap %d px at x = %d (column %d)\n", gap, gapX, gapX / TileLayer::TileSize);
    if (gap < leastGap) {
        fprintf(stderr, "gap of %d px at x = %d is below %d\n", gap, gapX, leastGap);
        return 1;
    }

    std::vector<int> route = passage.route();
    Preview preview(farLayer, nearLayer, cave, route);
    if (previewPath) {
        if (to < 0)
            to = cave.pixelWidth() - (ScreenWidth + LevelFormat::EdgeMargin);
        BITMAP* shot = preview.screens(12, from, to);
        int failed = save(shot, previewPath);
        destroy_bitmap(shot);
        if (failed)
            return 1;
    }
    if (overviewPath) {
        BITMAP* map = preview.overview();
        int failed = save(map, overviewPath);
        destroy_bitmap(map);
        if (failed)
            return 1;
    }

    if (mapPath && writeMap(mapPath, layers, 3) != 0)
        return 1;
    return 0;
}
