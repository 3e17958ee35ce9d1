#ifndef SKIFF_LEVEL_TOOL_CHECKEDBLOCK_H
#define SKIFF_LEVEL_TOOL_CHECKEDBLOCK_H

#include <cstdint>
#include <vector>

#include "SourcePosition.h"

// A tileset block of level.def that the game keeps, with where it stands.
struct CheckedBlock {
    SourcePosition start;  // its "{"
    int32_t pictureIndex;
    int32_t tileSize;
    int32_t width;
    int32_t height;
    std::vector<uint8_t> cells;  // tile numbers row by row, as the game keeps them

    int32_t pixelWidth() const { return width * tileSize; }
    int32_t pixelHeight() const { return height * tileSize; }
};

#endif
