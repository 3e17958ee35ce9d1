#ifndef SKIFF_ART_FONTPICTURE_H
#define SKIFF_ART_FONTPICTURE_H

#include "Picture.h"

// The 16 x 16 cell font sheet: two character sets of light glyphs with a dark
// drop shadow, and the life symbol in cell 127.
class FontPicture : public Picture {
public:
    FontPicture();
    BITMAP* paint() const override;

    // Paints text in the glyphs of characterSet (0 or 1), each pixel scale x scale,
    // with the top of the capitals at y; the pen starts at x.
    static void paintText(BITMAP* target, const char* text, int x, int y, int characterSet, int scale);
    // Width paintText covers for text, shadow included.
    static int textWidth(const char* text, int characterSet, int scale);
};

#endif
