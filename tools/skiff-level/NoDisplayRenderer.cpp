// The tool loads levels with the game's own classes but shows nothing: this stands in
// for the game's GL renderer, making no textures and drawing nothing.
#include "render/Renderer.h"

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
    return 0;
}
