#ifndef SKIFF_LEVEL_TILESET_H
#define SKIFF_LEVEL_TILESET_H

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "level/Tile.h"

class ReadDiagnostics;
class Renderer;
struct BITMAP;
struct DATAFILE;
struct CollisionMask;

// One layer of the map: a grid of square tiles and its scroll state.
class Tileset {
public:
    explicit Tileset(Renderer* renderer);
    // Releases every tile picture and mask.
    virtual ~Tileset();

    // Reads one "{ tileset ... }" block and cuts its tile pictures from the datafile.
    // 0 on success; -1 for a malformed or impossible block, with nothing made.
    // A diagnostics sink, when given, is told what was read and dropped, and why.
    int read(std::istream& in, const DATAFILE* datafile, ReadDiagnostics* diagnostics = nullptr);

    // Moves by dx times factorX; false, without moving, when a bounded layer would leave its grid.
    bool scrollByX(double dx);
    bool scrollByY(double dy);
    // Draws the cells the screen shows.
    void draw();

    // Cell at grid column and row, or null outside the grid.
    const Tile* cellAt(int column, int row) const;
    int32_t pixelWidth() const;
    int32_t pixelHeight() const;

    Renderer* renderer;
    std::vector<BITMAP*> tilePictures;
    int32_t tileSize;
    int32_t width;
    int32_t height;
    double scrollX;
    double scrollY;
    double factorX;
    double factorY;
    bool bounded;
    std::vector<Tile> tiles;
    std::vector<uint32_t> textures;
    std::vector<CollisionMask*> masks;
};

#endif
