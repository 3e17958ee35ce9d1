#include "ToolTestData.h"

#include <allegro.h>

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
