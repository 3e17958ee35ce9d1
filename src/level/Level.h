#ifndef SKIFF_LEVEL_LEVEL_H
#define SKIFF_LEVEL_LEVEL_H

#include <iosfwd>
#include <vector>

class ReadDiagnostics;
class Renderer;
class Tileset;
struct DATAFILE;

// The scrolling map: background layers and the main tileset, drawn in file order.
class Level {
public:
    explicit Level(Renderer* renderer);
    // Destroys every tileset, first to last.
    virtual ~Level();

    // Loads directory + "level.def" and directory + "level.dat" (no separator is added).
    // 0 when loaded; -1 otherwise, after the "Unable to find"/"Unable to load" alerts.
    int load(const char* directory);
    // Reads a level description with its blocks from in, cutting pictures from the datafile,
    // and sets up scrolling. 0 when at least one block was read, -1 otherwise.
    // A diagnostics sink, when given, is told what was read and dropped, and why.
    int readDescription(std::istream& in, const DATAFILE* datafile, ReadDiagnostics* diagnostics = nullptr);

    // Scrolls one logic step: right by LevelFormat::ScrollStep, vertically after the ship at (x, y).
    void update(int x, int y);
    // Draws every tileset, main tileset last. Returns 0.
    int draw();

    Renderer* renderer;
    std::vector<Tileset*> tilesets;
    Tileset* mainTileset;
    char title[128];
};

#endif
