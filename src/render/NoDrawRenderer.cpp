// The game's Renderer for tools that run the game's logic without a display:
// it makes no textures, draws nothing and shows no alert.
#include "render/Renderer.h"

#include "render/Screen.h"

Renderer::Renderer() : filterTextures(false), fontTexture(0), fontListBase(0) {}

Renderer::~Renderer() {}

int Renderer::setupDisplay()
{
    return 0;
}

void Renderer::buildFont() {}

void Renderer::beginFrame() {}

void Renderer::endFrame() {}

uint32_t Renderer::makeTexture(BITMAP*)
{
    return 0;
}

void Renderer::drawQuad(double, double, int, int, uint32_t) {}

void Renderer::drawText(const char*, float, float, signed char) {}

void Renderer::drawLives(int) {}

void Renderer::setColor(float, float, float, float) {}

void Renderer::alert(const char*, const char*, const char*, const char*) {}

int Renderer::screenHeight() const
{
    // As a display of the logical screen's size would: the aliens leave the screen at its bottom.
    return ScreenHeight;
}
