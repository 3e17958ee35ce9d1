#ifndef SKIFF_RENDER_RENDERER_H
#define SKIFF_RENDER_RENDERER_H

#include <cstdint>

struct BITMAP;

// The game's only drawing facade. Everything is drawn into a 320 x 240 logical
// screen, y downwards, stretched over the whole window.
class Renderer {
public:
    Renderer();
    virtual ~Renderer();

    // Opens the display from the "engineparams" configuration, sets the GL state
    // and builds the font. Returns 0; ends the process with -1 when no mode can be set.
    int setupDisplay();
    // Texture and 256 display lists of "bmp/fontes.bmp"; makes nothing when it is missing.
    void buildFont();

    // Clears the screen and sets the frame's matrix and alpha blending.
    void beginFrame();
    // Turns blending off and shows the back buffer.
    void endFrame();
    // Texture of the bitmap, magenta transparent; 0 when none could be made. The bitmap stays the caller's.
    uint32_t makeTexture(BITMAP* bitmap);
    // The whole texture stretched over the rectangle with top-left corner (x, y), unrounded.
    void drawQuad(double x, double y, int width, int height, uint32_t texture);
    // Text placed from the bottom-left corner: the pen starts x right of the left edge and y above the bottom.
    void drawText(const char* text, float x, float y, signed char characterSet);
    // count life symbols from x = 270, 7 units apart; must follow drawText in the same frame.
    void drawLives(int count);
    // Colour that multiplies every following quad; drawing leaves it opaque white.
    void setColor(float red, float green, float blue, float alpha);

    // A visible modal message with one button; returns once it is dismissed.
    void alert(const char* line1, const char* line2, const char* line3, const char* button);
    // Height in pixels of the display mode actually set (0 without one).
    int screenHeight() const;

    bool filterTextures;
    uint32_t fontTexture;
    uint32_t fontListBase;
};

#endif
