#ifndef SKIFF_BENCH_BENCHWORLD_H
#define SKIFF_BENCH_BENCHWORLD_H

#include <string>
#include <vector>

#include "headless/TempDir.h"
#include "level/LevelText.h"

// A scratch directory laid out like the game's data/ tree, for the kit's sprite pictures
// (writeSpritePictures) and generated level directories; removed with everything in it.
class BenchWorld : public TempDir {
public:
    enum { TileSize = 16, Rows = 20 };

    // name/level.def with one tileset of columns x Rows cells (see tileAt), name/level.dat
    // with its picture, and name/aliens.def placing one alien kind at each placement.
    // False when the directory could not be made or the datafile could not be written.
    bool writeLevel(const std::string& name, int columns, const std::vector<LevelText::Placement>& aliens) const;

    // Tile shown by a generated level at a cell: a solid ceiling with hanging ledges under it,
    // open air, and a floor with low ledges on it. Tile 2's solid pixels are its bottom 6 rows,
    // tile 3's its top 6 rows; tiles 4 to 15 are slopes.
    static int tileAt(int column, int row);
    // Lowest and highest y at which a 16-pixel sprite touches no solid pixel of a generated level.
    enum { OpenTop = 38, OpenBottom = 282 };
};

#endif
