#ifndef SKIFF_LEVEL_TOOL_TILEPICTURE_H
#define SKIFF_LEVEL_TOOL_TILEPICTURE_H

#include <string>

struct BITMAP;

// Tileset pictures of Tiled maps, PNG or BMP, turned into the game's kind of picture:
// 32 bits a pixel, magenta where it is transparent.
class TilePicture {
public:
    // Loads path (PNG, or BMP). Transparent: alpha 0 in a PNG that carries transparency (an alpha
    // channel or a tRNS chunk), and the colour transparentColour (0xRRGGBB; -1 for none) in any picture.
    // Null when the picture cannot be loaded; problem then says why. The caller destroys the bitmap.
    static BITMAP* load(const std::string& path, int transparentColour, std::string& problem);
};

#endif
