#ifndef SKIFF_HEADLESS_RENDERLOG_H
#define SKIFF_HEADLESS_RENDERLOG_H

#include <cstdint>
#include <string>
#include <vector>

struct BITMAP;

// What the recording renderer was asked to do.
struct QuadCall {
    double x;
    double y;
    int width;
    int height;
    uint32_t texture;
    float alpha;  // the colour's alpha when the quad was drawn
};

struct TextCall {
    std::string text;
    float x;
    float y;
    int characterSet;
};

struct AlertCall {
    std::string line1;
    std::string line2;
    std::string line3;
    std::string button;
};

class RenderLog {
public:
    // Forgets every call and restarts texture names at 1.
    static void clear();
    // A quad as "x,y widthxheight #texture", with " alpha a" when it was not opaque, for tests to compare.
    static std::string describe(const QuadCall& quad);

    static std::vector<QuadCall> quads;
    static std::vector<TextCall> texts;
    static std::vector<int> lives;
    static std::vector<AlertCall> alerts;
    static int framesBegun;
    static int framesEnded;
    static int texturesMade;
    static uint32_t nextTexture;
    static int screenHeight;  // what screenHeight() answers, 240 by default
    static float red, green, blue, alpha;  // current colour
};

#endif
