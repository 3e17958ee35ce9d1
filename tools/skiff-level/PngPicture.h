#ifndef SKIFF_LEVEL_TOOL_PNGPICTURE_H
#define SKIFF_LEVEL_TOOL_PNGPICTURE_H

#include <cstddef>
#include <string>

struct BITMAP;

// PNG pictures decoded from memory with libpng, whatever their colour type, depth or interlacing.
class PngPicture {
public:
    // Decodes the PNG of size bytes at bytes into a 32-bit bitmap of its pixels as stored (no gamma
    // correction, 16-bit samples cut to their high byte), each with its alpha: 255 unless the PNG carries
    // transparency (an alpha channel or a tRNS chunk). More than PictureCheck's MaxSide pixels a side or
    // MaxPixels in all is refused before anything is allocated for the pixels. Null when the PNG cannot
    // be decoded; reason then holds libpng's words for why. The caller destroys the bitmap.
    static BITMAP* decode(const unsigned char* bytes, size_t size, std::string& reason);
};

#endif
