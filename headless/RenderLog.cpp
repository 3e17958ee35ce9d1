#include "headless/RenderLog.h"

#include <cstdio>

#include "render/Screen.h"

std::vector<QuadCall> RenderLog::quads;
std::vector<TextCall> RenderLog::texts;
std::vector<int> RenderLog::lives;
std::vector<AlertCall> RenderLog::alerts;
int RenderLog::framesBegun = 0;
int RenderLog::framesEnded = 0;
int RenderLog::texturesMade = 0;
uint32_t RenderLog::nextTexture = 1;
int RenderLog::screenHeight = ScreenHeight;
float RenderLog::red = 1.0f;
float RenderLog::green = 1.0f;
float RenderLog::blue = 1.0f;
float RenderLog::alpha = 1.0f;

std::string RenderLog::describe(const QuadCall& quad)
{
    char text[128];
    int length = snprintf(text, sizeof text, "%g,%g %dx%d #%u", quad.x, quad.y, quad.width, quad.height, quad.texture);
    if (quad.alpha != 1.0f)
        snprintf(text + length, sizeof text - length, " alpha %g", quad.alpha);
    return text;
}

void RenderLog::clear()
{
    quads.clear();
    texts.clear();
    lives.clear();
    alerts.clear();
    framesBegun = 0;
    framesEnded = 0;
    texturesMade = 0;
    nextTexture = 1;
    screenHeight = ScreenHeight;
    red = green = blue = alpha = 1.0f;
}
