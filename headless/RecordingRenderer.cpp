// The game's Renderer for programs without a display: it makes texture names,
// draws nothing and writes down every call in the RenderLog.
#include "render/Renderer.h"

#include "headless/RenderLog.h"

Renderer::Renderer() : filterTextures(true), fontTexture(0), fontListBase(0) {}

Renderer::~Renderer() {}

int Renderer::setupDisplay()
{
    return 0;
}

void Renderer::buildFont() {}

void Renderer::beginFrame()
{
    ++RenderLog::framesBegun;
}

void Renderer::endFrame()
{
    ++RenderLog::framesEnded;
}

uint32_t Renderer::makeTexture(BITMAP*)
{
    ++RenderLog::texturesMade;
    return RenderLog::nextTexture++;
}

void Renderer::drawQuad(double x, double y, int width, int height, uint32_t texture)
{
    RenderLog::quads.push_back(QuadCall{x, y, width, height, texture, RenderLog::alpha});
}

void Renderer::drawText(const char* text, float x, float y, signed char characterSet)
{
    RenderLog::red = RenderLog::green = RenderLog::blue = RenderLog::alpha = 1.0f;
    RenderLog::texts.push_back(TextCall{text, x, y, characterSet});
}

void Renderer::drawLives(int count)
{
    RenderLog::lives.push_back(count);
}

void Renderer::setColor(float red, float green, float blue, float alpha)
{
    RenderLog::red = red;
    RenderLog::green = green;
    RenderLog::blue = blue;
    RenderLog::alpha = alpha;
}

void Renderer::alert(const char* line1, const char* line2, const char* line3, const char* button)
{
    RenderLog::alerts.push_back(AlertCall{line1 ? line1 : "", line2 ? line2 : "", line3 ? line3 : "",
                                          button ? button : ""});
}

int Renderer::screenHeight() const
{
    return RenderLog::screenHeight;
}
