#include "render/GlScreenTest.h"

#include "headless/ScratchFiles.h"
#include "render/Renderer.h"

#include <allegro.h>
#include <alleggl.h>

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {

Renderer* sharedRenderer = nullptr;

// The font is loaded from the working directory.
bool runIn(const std::string& directory, Renderer* renderer, bool openDisplay)
{
    char here[4096];
    if (!getcwd(here, sizeof here) || chdir(directory.c_str()) != 0)
        return false;
    if (openDisplay)
        renderer->setupDisplay();
    else
        renderer->buildFont();
    return chdir(here) == 0;
}

Renderer* openDisplay()
{
    TempDir fontDir;
    mkdir((fontDir.path() + "/bmp").c_str(), 0755);
    GlScreenTest::writeTestFont(fontDir.path() + "/bmp/fontes.bmp", 256);
    Renderer* renderer = new Renderer;
    if (!runIn(fontDir.path(), renderer, true))
        return nullptr;
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    return renderer;
}

}

Rgb GlScreenTest::cellColour(int cell)
{
    return Rgb{cell, 200, 100};
}

void GlScreenTest::writeTestFont(const std::string& path, int size)
{
    BITMAP* picture = create_bitmap_ex(32, size, size);
    clear_to_color(picture, makecol32(255, 0, 255));
    int cellSize = size / 16;
    for (int cell = 0; cell < 256; ++cell) {
        Rgb colour = cellColour(cell);
        int left = (cell % 16) * cellSize;
        int top = (cell / 16) * cellSize;
        vline(picture, left, top, top + cellSize - 1, makecol32(colour.red, colour.green, colour.blue));
    }
    save_bitmap(path.c_str(), picture, nullptr);
    destroy_bitmap(picture);
}

bool GlScreenTest::buildFontIn(Renderer& fontRenderer, const std::string& directory)
{
    return runIn(directory, &fontRenderer, false);
}

void GlScreenTest::SetUp()
{
    if (!sharedRenderer)
        sharedRenderer = openDisplay();
    ASSERT_NE(sharedRenderer, nullptr);
    ASSERT_NE(sharedRenderer->fontListBase, 0u) << "the test font did not load";
    renderer = sharedRenderer;
    renderer->setColor(1.0f, 1.0f, 1.0f, 1.0f);
}

Rgb GlScreenTest::pixelAt(int x, int y)
{
    unsigned char rgba[4] = {0, 0, 0, 0};
    glReadPixels(x, 239 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return Rgb{rgba[0], rgba[1], rgba[2]};
}

int GlScreenTest::cellAt(int x, int y)
{
    Rgb pixel = pixelAt(x, y);
    Rgb expected = cellColour(pixel.red);
    if (pixel.green != expected.green || pixel.blue != expected.blue)
        return -1;
    return pixel.red;
}

bool GlScreenTest::isBlack(int left, int top, int right, int bottom)
{
    int width = right - left + 1;
    int height = bottom - top + 1;
    std::vector<unsigned char> rgb(width * height * 3);
    glReadPixels(left, 239 - bottom, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    for (unsigned char channel : rgb)
        if (channel != 0)
            return false;
    return true;
}

uint32_t GlScreenTest::solidTexture(int width, int height, int red, int green, int blue)
{
    BITMAP* bitmap = makeBitmap(width, height, makecol32(red, green, blue));
    uint32_t texture = renderer->makeTexture(bitmap);
    destroy_bitmap(bitmap);
    return texture;
}
