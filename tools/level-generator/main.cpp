// Builds the first level: paints the three layers, checks that the ship can fly the
// whole cave, and writes the tile pictures and level.def.
//
//   skiff-level-generator [--preview FILE [FROM TO]] [--overview FILE] [OUTDIR]
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "CaveLayer.h"
#include "FarLayer.h"
#include "NearLayer.h"
#include "Passage.h"
#include "Preview.h"
#include "core/DataPaths.h"
#include "level/LevelFormat.h"
#include "render/Screen.h"

namespace {

const char* const title = "Crystal Caverns";
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

}

int main(int argc, char** argv)
{
    const char* previewPath = nullptr;
    const char* overviewPath = nullptr;
    const char* outDir = nullptr;
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
        } else if (argv[i][0] != '-' && !outDir) {
            outDir = argv[i];
        } else {
            fprintf(stderr, "usage: %s [--preview FILE [FROM TO]] [--overview FILE] [OUTDIR]\n", argv[0]);
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

    if (outDir) {
        std::string dir = outDir;
        const char* names[3] = { "far.bmp", "near.bmp", "main.bmp" };
        for (int k = 0; k < 3; k++)
            if (save(layers[k]->picture(), dir + "/" + names[k]) != 0)
                return 1;
        std::ofstream def((dir + "/" + DataPaths::LevelDescription).c_str());
        def << "LEVELDEF " << title << '\n';
        for (int k = 0; k < 3; k++)
            layers[k]->writeBlock(def, k);
        if (!def.good()) {
            fprintf(stderr, "cannot write %s/%s\n", outDir, DataPaths::LevelDescription);
            return 1;
        }
    }
    return 0;
}
