#include "TilePicture.h"

#include <allegro.h>
#include <loadpng.h>

#include <algorithm>

#include "Diagnostics.h"
#include "TiledMap.h"
#include "sprites/PictureCheck.h"

namespace {

const char PngSignature[] = "\x89PNG\r\n\x1a\n";

uint32_t bigEndian(const std::string& bytes, size_t at)
{
    return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) << 24 |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 3]));
}

}

bool TilePicture::pngHasAlpha(const std::string& contents)
{
    // Colour types 4 and 6 carry alpha; any type may carry a tRNS chunk before its image data.
    if (contents.size() < 33 || contents.compare(0, 8, PngSignature, 8) != 0)
        return false;
    int colourType = static_cast<unsigned char>(contents[25]);
    if (colourType == 4 || colourType == 6)
        return true;
    size_t at = 8;
    while (at + 8 <= contents.size()) {
        uint32_t length = bigEndian(contents, at);
        std::string type = contents.substr(at + 4, 4);
        if (type == "tRNS")
            return true;
        if (type == "IDAT" || type == "IEND")
            return false;
        at += 12 + static_cast<size_t>(length);
    }
    return false;
}

BITMAP* TilePicture::load(const std::string& path, int transparentColour, std::string& problem)
{
    std::string contents;
    problem = TiledMap::readFile(path, contents, PictureCheck::MaxFileBytes);
    if (!problem.empty())
        return nullptr;
    bool png = contents.size() >= 8 && contents.compare(0, 8, PngSignature, 8) == 0;
    bool bmp = contents.size() >= 2 && contents.compare(0, 2, "BM") == 0;
    if (!png && !bmp) {
        problem = "is neither a PNG nor a BMP picture";
        return nullptr;
    }
    // The loaders trust the header's sizes and run riot on ones that lie: the header is checked first.
    if (!PictureCheck::isSound(reinterpret_cast<const unsigned char*>(contents.data()),
                               std::min(contents.size(), static_cast<size_t>(PictureCheck::HeaderBytes)),
                               static_cast<int64_t>(contents.size()))) {
        problem = std::string("has a header that cannot be trusted: ") +
                  (png ? "a PNG" : "an uncompressed BMP") + " of at most " +
                  Diagnostics::number(PictureCheck::MaxSide) + " pixels a side and " +
                  Diagnostics::grouped(PictureCheck::MaxPixels) + " pixels in all is needed";
        return nullptr;
    }
    PALETTE palette;
    // Pixels are taken as they are stored, whatever gamma the environment asks for.
    _png_screen_gamma = 0.0;
    BITMAP* loaded = png ? load_png(path.c_str(), palette) : load_bmp(path.c_str(), palette);
    if (!loaded || loaded->w < 1 || loaded->h < 1) {
        if (loaded)
            destroy_bitmap(loaded);
        problem = png ? "is not a PNG picture that can be loaded" : "is not a BMP picture that can be loaded";
        return nullptr;
    }
    bool alpha = png && pngHasAlpha(contents) && bitmap_color_depth(loaded) == 32;
    BITMAP* picture = create_bitmap_ex(32, loaded->w, loaded->h);
    if (!picture) {
        destroy_bitmap(loaded);
        problem = "is too large";
        return nullptr;
    }
    if (bitmap_color_depth(loaded) == 8)
        select_palette(palette);
    int depth = bitmap_color_depth(loaded);
    int magenta = makecol32(255, 0, 255);
    for (int y = 0; y < loaded->h; ++y) {
        for (int x = 0; x < loaded->w; ++x) {
            int pixel = getpixel(loaded, x, y);
            int r = getr_depth(depth, pixel);
            int g = getg_depth(depth, pixel);
            int b = getb_depth(depth, pixel);
            bool clear = (alpha && geta32(pixel) == 0) || (r << 16 | g << 8 | b) == transparentColour;
            putpixel(picture, x, y, clear ? magenta : makecol32(r, g, b));
        }
    }
    if (depth == 8)
        unselect_palette();
    destroy_bitmap(loaded);
    return picture;
}
