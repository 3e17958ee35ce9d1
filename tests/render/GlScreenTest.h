#ifndef SKIFF_TESTS_RENDER_GLSCREENTEST_H
#define SKIFF_TESTS_RENDER_GLSCREENTEST_H

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

class Renderer;

struct Rgb {
    int red;
    int green;
    int blue;
};

// Drawing tests share one renderer with a 320 x 240 window, opened on first use
// with a test font whose cells are told apart by colour.
class GlScreenTest : public testing::Test {
public:
    // Writes a size x size font picture: in cell n only the leftmost pixel column is
    // drawn, in cellColour(n); everything else is magenta.
    static void writeTestFont(const std::string& path, int size);
    static Rgb cellColour(int cell);
    // Runs buildFont with directory as the working directory; false when it cannot go there.
    static bool buildFontIn(Renderer& fontRenderer, const std::string& directory);

protected:
    void SetUp() override;

    // The pixel at game coordinates (x, y), read from the back buffer.
    static Rgb pixelAt(int x, int y);
    // The font cell whose colour the pixel shows, or -1 when it shows none.
    static int cellAt(int x, int y);
    // Whether every pixel from (left, top) to (right, bottom) inclusive is black.
    static bool isBlack(int left, int top, int right, int bottom);
    // A texture of one colour; magenta gives a transparent one.
    uint32_t solidTexture(int width, int height, int red, int green, int blue);

    Renderer* renderer;
};

#endif
