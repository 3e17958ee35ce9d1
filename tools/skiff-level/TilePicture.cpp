#include "TilePicture.h"

#include <allegro.h>

#include <algorithm>
#include <cstdint>

#include "Diagnostics.h"
#include "PngPicture.h"
#include "TiledMap.h"
#include "sprites/PictureCheck.h"

namespace {

const char PngSignature[] = "\x89PNG\r\n\x1a\n";

// libpng's reason, when it reads as a short phrase, for the tool's one-line diagnostics.
std::string told(const std::string& reason)
{
    if (reason.empty() || reason.size() > 60)
        return std::string();
    for (char c : reason)
        if (c < ' ' || c > '~')
            return std::string();
    return ": " + reason;
}

// Why the header of a PNG or BMP is not trusted, with the size it claims where it tells one.
std::string distrust(const std::string& contents, bool png)
{
    const unsigned char* header = reinterpret_cast<const unsigned char*>(contents.data());
    const size_t got = std::min(contents.size(), static_cast<size_t>(PictureCheck::HeaderBytes));
    if (PictureCheck::isRunLengthBmp(header, got))
        return "is a run-length compressed BMP, which is not read: save it uncompressed or as a PNG";
    int64_t width = 0, height = 0;
    std::string claims = PictureCheck::claimedSize(header, got, width, height)
                             ? "it claims " + Diagnostics::size(width, height) + " pixels; "
                             : "";
    return "has a header that cannot be trusted: " + claims + (png ? "a PNG" : "an uncompressed BMP") +
           " of at most " + Diagnostics::number(PictureCheck::MaxSide) + " pixels a side and " +
           Diagnostics::grouped(PictureCheck::MaxPixels) + " pixels in all is needed";
}

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
        problem = distrust(contents, png);
        return nullptr;
    }
    PALETTE palette;
    std::string reason;
    BITMAP* loaded = png ? PngPicture::decode(reinterpret_cast<const unsigned char*>(contents.data()), contents.size(),
                                              reason)
                         : load_bmp(path.c_str(), palette);
    if (!loaded || loaded->w < 1 || loaded->h < 1) {
        if (loaded)
            destroy_bitmap(loaded);
        problem = png ? "is not a PNG picture that can be loaded" + told(reason)
                      : "is not a BMP picture that can be loaded";
        return nullptr;
    }
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
            bool clear = (png && geta32(pixel) == 0) || (r << 16 | g << 8 | b) == transparentColour;
            putpixel(picture, x, y, clear ? magenta : makecol32(r, g, b));
        }
    }
    if (depth == 8)
        unselect_palette();
    destroy_bitmap(loaded);
    return picture;
}
