#ifndef SKIFF_LEVEL_LEVELFORMAT_H
#define SKIFF_LEVEL_LEVELFORMAT_H

#include <cstdint>

// The facts of the level format that the game's readers and scrolling share with its tools,
// tests and benchmarks, declared once. The screen is in render/Screen.h, the game's logic
// steps a second in core/Game.h.
class LevelFormat {
public:
    enum {
        MaxNameLength = 127,          // characters of a token, a title or a picture name
        MaxTilePictures = 256,        // tile pictures a layer can show: cells hold 8-bit tile numbers
        MaxCells = 16 * 1024 * 1024,  // cells of one grid
        MaxExtent = 16 * 1024 * 1024, // pixels of one grid along either axis
        MinCoordinate = -32768,       // alien positions, which the aliens hold in 16.16 fixed point
        MaxCoordinate = 32767,
        MaxAlienPrototypes = 64,      // prototypes of an alien file the game builds; each loads its picture
        MaxAliens = 65536             // placements of an alien file the game places
    };
    // Pixels of the tile pictures all blocks of a level cut together at most: each block cuts its own, so a
    // short description naming one large picture many times would otherwise take memory without end. More
    // than the largest level.dat holds, 64 MB at 3 bytes a pixel, so that cutting each picture once fits.
    static constexpr int64_t MaxTilePixels = 24 * 1024 * 1024;
    // Bytes of a level description or an alien file at most: a grid of MaxCells cells written out.
    static constexpr int64_t MaxTextBytes = int64_t(MaxCells) * 4;
    // Pixels the main tileset scrolls right every logic step.
    static constexpr double ScrollStep = 0.2;
    // A bounded layer stops where one more step would show more than this past its far edge.
    static constexpr double EdgeMargin = 0.5;

    // How far a background layer moves for every pixel the main tileset moves along one axis, so that
    // the far edges of both come into view together. 0 for a main tileset exactly as large as the
    // screen that way, which never scrolls it.
    static double parallaxFactor(int32_t layerExtent, int32_t mainExtent, int screenExtent);
    // Moves a layer's position by step; false, without moving, when the layer is bounded and the
    // screen, screenExtent pixels across, would then show past its start or, by more than
    // EdgeMargin, past its far edge at extent pixels.
    static bool scroll(double& position, double step, bool bounded, int32_t extent, int screenExtent);
    // The top-left pixel of tile number tile in a picture holding rows tiles of tileSize pixels a
    // column: tiles are numbered down the picture's columns, then on to the next column.
    static void tileCorner(int64_t tile, int rows, int tileSize, int& x, int& y);
    // The logic steps a main tileset of width pixels scrolls, from 0 until it stops with the end of
    // the map on the screen.
    static int64_t scrollSteps(int32_t width);
};

#endif
