#ifndef SKIFF_TESTS_LEVEL_LEVELTESTDATA_H
#define SKIFF_TESTS_LEVEL_LEVELTESTDATA_H

#include <string>

#include "headless/MemoryDatafile.h"

struct BITMAP;

// A tileset block whose grid is all zeros.
std::string emptyBlock(int pictureIndex, int tileSize, int width, int height);
// A tileset block with the given grid numbers.
std::string block(int pictureIndex, int tileSize, int width, int height, const std::string& grid);
// Colour of a pixel of a bitmap, as "r,g,b".
std::string colourAt(BITMAP* bitmap, int x, int y);

#endif
