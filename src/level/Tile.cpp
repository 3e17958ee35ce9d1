#include "level/Tile.h"

Tile::Tile() : x(0), y(0), index(0) {}

Tile::Tile(int32_t x, int32_t y, uint8_t index) : x(x), y(y), index(index) {}

Tile::~Tile() {}
