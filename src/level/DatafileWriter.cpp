#include "level/DatafileWriter.h"

#include <allegro.h>

#include <cstdint>

namespace {

void putLong(std::string& out, uint32_t value)
{
    out.push_back(static_cast<char>(value >> 24));
    out.push_back(static_cast<char>(value >> 16));
    out.push_back(static_cast<char>(value >> 8));
    out.push_back(static_cast<char>(value));
}

void putWord(std::string& out, uint32_t value)
{
    out.push_back(static_cast<char>(value >> 8));
    out.push_back(static_cast<char>(value));
}

}

DatafileWriter::DatafileWriter() {}

DatafileWriter::~DatafileWriter() {}

void DatafileWriter::addBitmap(BITMAP* bitmap, const std::string& name)
{
    bitmaps.push_back(bitmap);
    names.push_back(name);
}

int64_t DatafileWriter::objectBytes(int64_t width, int64_t height, const std::string& name)
{
    // Its name property (type, name, size and the name), then its type, sizes, and header and pixels.
    return 12 + static_cast<int64_t>(name.size()) + 12 + 6 + width * height * 3;
}

int64_t DatafileWriter::unpackedSizeWith(int64_t width, int64_t height, const std::string& name) const
{
    int64_t size = 8 + objectBytes(width, height, name);
    for (size_t i = 0; i < bitmaps.size(); ++i)
        size += objectBytes(bitmaps[i]->w, bitmaps[i]->h, names[i]);
    return size;
}

std::string DatafileWriter::contents() const
{
    std::string out;
    putLong(out, static_cast<uint32_t>(F_NOPACK_MAGIC));
    putLong(out, static_cast<uint32_t>(DAT_MAGIC));
    putLong(out, static_cast<uint32_t>(bitmaps.size()));
    for (size_t i = 0; i < bitmaps.size(); ++i) {
        BITMAP* bitmap = bitmaps[i];
        putLong(out, static_cast<uint32_t>(DAT_PROPERTY));
        putLong(out, static_cast<uint32_t>(DAT_NAME));
        putLong(out, static_cast<uint32_t>(names[i].size()));
        out += names[i];
        // A 32-bit bitmap is stored as its depth, width and height, then red, green and blue of every pixel.
        uint32_t size = 6 + static_cast<uint32_t>(bitmap->w) * static_cast<uint32_t>(bitmap->h) * 3;
        putLong(out, static_cast<uint32_t>(DAT_BITMAP));
        putLong(out, size);
        putLong(out, size);
        putWord(out, 32);
        putWord(out, static_cast<uint32_t>(bitmap->w));
        putWord(out, static_cast<uint32_t>(bitmap->h));
        for (int y = 0; y < bitmap->h; ++y) {
            for (int x = 0; x < bitmap->w; ++x) {
                int pixel = getpixel(bitmap, x, y);
                out.push_back(static_cast<char>(getr32(pixel)));
                out.push_back(static_cast<char>(getg32(pixel)));
                out.push_back(static_cast<char>(getb32(pixel)));
            }
        }
    }
    return out;
}
