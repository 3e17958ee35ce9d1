#ifndef SKIFF_LEVEL_TILE_H
#define SKIFF_LEVEL_TILE_H

#include <cstdint>

// One cell of a tileset's grid.
class Tile {
public:
    Tile();
    Tile(int32_t x, int32_t y, uint8_t index);
    virtual ~Tile();

    int32_t x;      // map x of the left edge: column * tileSize
    int32_t y;      // map y of the top edge: row * tileSize
    uint8_t index;  // tile picture shown
};

#endif
