#ifndef SKIFF_ART_PIXELART_H
#define SKIFF_ART_PIXELART_H

struct BITMAP;

// Pixel art kept as text: one palette letter per pixel, one string per row.
class PixelArt {
public:
    // A colour of a scale, hottest first: a pixel takes the first band whose threshold its value exceeds.
    struct Band {
        double above;
        int r, g, b;
        // The band's colour, as solid() makes it.
        int colour() const { return solid(r, g, b); }
    };

    // A palette entry: the letter and the colour it paints.
    struct Ink {
        char letter;
        int r, g, b;
    };

    // Each ink's letter paints its colour; every other letter, '.' included, paints nothing.
    template <int Count>
    explicit PixelArt(const Ink (&inks)[Count]) : PixelArt()
    {
        for (const Ink& ink : inks)
            setColour(ink.letter, solid(ink.r, ink.g, ink.b));
    }
    // Paints count rows with their top-left corner at (x, y), each pixel as a scale x scale block.
    void paint(BITMAP* target, const char* const* rows, int count, int x, int y, int scale = 1) const;

    // Opaque colour from 8-bit components; exact magenta is nudged off so it never turns transparent.
    static int solid(int r, int g, int b);
    // A 32-bit bitmap filled with magenta; null if memory ran out.
    static BITMAP* transparentBitmap(int width, int height);
    // One pixel at (x, y) drawn as a scale x scale block.
    static void plot(BITMAP* target, int x, int y, int scale, int colour);

private:
    PixelArt();
    // Letter letter paints colour (from solid()).
    void setColour(char letter, int colour);

    int colours[128];
    bool used[128];
};

#endif
