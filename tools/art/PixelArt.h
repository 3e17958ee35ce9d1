#ifndef SKIFF_ART_PIXELART_H
#define SKIFF_ART_PIXELART_H

struct BITMAP;

// Pixel art kept as text: one palette letter per pixel, one string per row.
class PixelArt {
public:
    PixelArt();
    // Letter letter paints colour (from solid()); every other letter, '.' included, paints nothing.
    void setColour(char letter, int colour);
    // Paints count rows with their top-left corner at (x, y), each pixel as a scale x scale block.
    void paint(BITMAP* target, const char* const* rows, int count, int x, int y, int scale = 1) const;

    // Opaque colour from 8-bit components; exact magenta is nudged off so it never turns transparent.
    static int solid(int r, int g, int b);
    // A 32-bit bitmap filled with magenta; null if memory ran out.
    static BITMAP* transparentBitmap(int width, int height);
    // One pixel at (x, y) drawn as a scale x scale block.
    static void plot(BITMAP* target, int x, int y, int scale, int colour);

private:
    int colours[128];
    bool used[128];
};

#endif
