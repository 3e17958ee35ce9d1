#ifndef SKIFF_TESTS_LEVEL_LEVELTESTDATA_H
#define SKIFF_TESTS_LEVEL_LEVELTESTDATA_H

#include <gtest/gtest.h>

#include <string>

#include "headless/MemoryDatafile.h"
#include "level/Level.h"
#include "render/Renderer.h"

struct BITMAP;

// A level read from text against a datafile made in memory, drawn by the recording renderer.
class LevelTest : public testing::Test {
protected:
    // Forgets what was drawn before.
    void SetUp() override;
    // Reads text into level as a level description; readDescription's result.
    int read(const std::string& text);

    Renderer renderer;
    Level level{&renderer};
    MemoryDatafile datafile;
};

// A tileset block with the given grid numbers.
std::string block(int pictureIndex, int tileSize, int width, int height, const std::string& grid);
// A tileset block whose grid is all zeros.
std::string emptyBlock(int pictureIndex, int tileSize, int width, int height);
// Colour of a pixel of a bitmap, as "r,g,b".
std::string colourAt(BITMAP* bitmap, int x, int y);

#endif
