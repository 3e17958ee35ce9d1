#include "headless/RenderLog.h"

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
