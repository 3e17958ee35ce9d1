#ifndef SKIFF_LEVEL_TOOL_CHECKEDBLOCK_H
#define SKIFF_LEVEL_TOOL_CHECKEDBLOCK_H

#include <cstdint>
#include <vector>

#include "SourcePosition.h"

// A tileset block of level.def that reads correctly, with where its parts stand.
struct CheckedBlock {
    SourcePosition start;  // its "{"
    int32_t pictureIndex;
    int32_t tileSize;
    int32_t width;
    int32_t height;
    int pictureWidth;      // of its picture in level.dat
    int pictureHeight;
    int tileCount;         // tiles the picture yields
    std::vector<uint8_t> cells;  // tile numbers row by row, as the game keeps them

    int32_t pixelWidth() const { return width * tileSize; }
    int32_t pixelHeight() const { return height * tileSize; }
};

#endif
