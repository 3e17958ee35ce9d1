#include "ToolTestData.h"

#include <allegro.h>
#include <zlib.h>

int tileColour(int id)
{
    return makecol32(10 + id % 20 * 12, 20 + id / 20 * 9, 200 - id % 7 * 20);
}

BITMAP* tilesetPicture(int columns, int rows, int tileSize)
{
    BITMAP* picture = create_bitmap_ex(32, columns * tileSize, rows * tileSize);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            rectfill(picture, column * tileSize, row * tileSize, (column + 1) * tileSize - 1, (row + 1) * tileSize - 1,
                     tileColour(row * columns + column));
    }
    return picture;
}

std::string rgbOf(int colour)
{
    return std::to_string(getr32(colour)) + "," + std::to_string(getg32(colour)) + "," + std::to_string(getb32(colour));
}

std::string rgb(BITMAP* bitmap, int x, int y)
{
    return rgbOf(getpixel(bitmap, x, y));
}

const Diagnostics::Entry* findEntry(const Diagnostics& diagnostics, Diagnostics::Severity severity,
                                    const std::string& part)
{
    for (const Diagnostics::Entry& entry : diagnostics.entries) {
        if (entry.severity == severity && entry.text.find(part) != std::string::npos)
            return &entry;
    }
    return nullptr;
}

std::string whereIs(const Diagnostics& diagnostics, Diagnostics::Severity severity, const std::string& part)
{
    const Diagnostics::Entry* entry = findEntry(diagnostics, severity, part);
    if (!entry)
        return "";
    return std::to_string(entry->position.line) + ":" + std::to_string(entry->position.column);
}

std::string listed(const Diagnostics& diagnostics)
{
    std::string all;
    for (const Diagnostics::Entry& entry : diagnostics.entries)
        all += Diagnostics::format(entry) + "\n";
    return all;
}

std::string bigEndian(uint32_t value)
{
    return std::string{static_cast<char>(value >> 24), static_cast<char>(value >> 16 & 0xff),
                       static_cast<char>(value >> 8 & 0xff), static_cast<char>(value & 0xff)};
}

std::string pngChunk(const std::string& type, const std::string& data)
{
    std::string typed = type + data;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()));
    return bigEndian(static_cast<uint32_t>(data.size())) + typed + bigEndian(static_cast<uint32_t>(crc));
}

std::string pngFile(uint32_t width, uint32_t height, int depth, int colourType, int interlace,
                    const std::string& between, const std::string& rows)
{
    std::string packed(compressBound(rows.size()), '\0');
    uLongf length = packed.size();
    compress(reinterpret_cast<Bytef*>(&packed[0]), &length, reinterpret_cast<const Bytef*>(rows.data()), rows.size());
    packed.resize(length);
    std::string header = bigEndian(width) + bigEndian(height) +
                         std::string{static_cast<char>(depth), static_cast<char>(colourType), 0, 0,
                                     static_cast<char>(interlace)};
    return std::string("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + between + pngChunk("IDAT", packed) +
           pngChunk("IEND", "");
}
