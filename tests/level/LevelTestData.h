#ifndef SKIFF_TESTS_LEVEL_LEVELTESTDATA_H
#define SKIFF_TESTS_LEVEL_LEVELTESTDATA_H

#include <gtest/gtest.h>

#include <string>

#include "headless/MemoryDatafile.h"
#include "level/Level.h"
#include "render/Renderer.h"

// A level read from text against a datafile made in memory, drawn by the recording renderer.
class LevelTest : public testing::Test {
protected:
    // Forgets what was drawn before.
    void SetUp() override;
    // Reads text into a level (by default level) as a level description; readDescription's result.
    int read(const std::string& text, Level* into = nullptr);

    Renderer renderer;
    Level level{&renderer};
    MemoryDatafile datafile;
};

// A tileset block with the given grid numbers, all zeros when none are given.
std::string block(int pictureIndex, int tileSize, int width, int height, const std::string& grid = "");

#endif
