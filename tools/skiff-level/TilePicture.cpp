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

uint32_t bytesAt(const std::string& contents, size_t at, int count, bool bigEndian)
{
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        uint32_t byte = static_cast<unsigned char>(contents[at + (bigEndian ? i : count - 1 - i)]);
        value = value << 8 | byte;
    }
    return value;
}

// Why the header of a PNG or BMP is not trusted, with the size it claims where it tells one.
std::string distrust(const std::string& contents, bool png)
{
    std::string needed = std::string(png ? "a PNG" : "an uncompressed BMP") + " of at most " +
                         Diagnostics::number(PictureCheck::MaxSide) + " pixels a side and " +
                         Diagnostics::grouped(PictureCheck::MaxPixels) + " pixels in all is needed";
    int64_t width = -1, height = -1;
    if (png && contents.size() >= 24 && contents.compare(12, 4, "IHDR") == 0) {
        width = bytesAt(contents, 16, 4, true);
        height = bytesAt(contents, 20, 4, true);
    } else if (!png && contents.size() >= 34 && bytesAt(contents, 14, 4, false) >= 40) {
        uint32_t compression = bytesAt(contents, 30, 4, false);
        if (compression == 1 || compression == 2)
            return "is a run-length compressed BMP, which is not read: save it uncompressed or as a PNG";
        width = static_cast<int32_t>(bytesAt(contents, 18, 4, false));
        int32_t rows = static_cast<int32_t>(bytesAt(contents, 22, 4, false));
        height = rows < 0 ? -static_cast<int64_t>(rows) : rows;
    }
    std::string claims = width >= 0 && height >= 0 ? "it claims " + Diagnostics::size(width, height) + " pixels; " : "";
    return "has a header that cannot be trusted: " + claims + needed;
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
