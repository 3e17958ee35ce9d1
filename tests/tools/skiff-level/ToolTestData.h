#ifndef SKIFF_LEVEL_TOOL_TESTS_TOOLTESTDATA_H
#define SKIFF_LEVEL_TOOL_TESTS_TOOLTESTDATA_H

#include <cstdint>
#include <string>

#include "Diagnostics.h"

struct BITMAP;

// Colour of tile id of a test tileset: every id its own colour.
int tileColour(int id);
// A 32-bit picture of columns x rows tiles, tile id (counted along the rows, as Tiled does) filled with tileColour(id).
BITMAP* tilesetPicture(int columns, int rows, int tileSize);
// "r,g,b" of a pixel.
std::string rgb(BITMAP* bitmap, int x, int y);
// "r,g,b" of a colour made with makecol.
std::string rgbOf(int colour);
// The first diagnostic of this severity whose text contains part; null when none.
const Diagnostics::Entry* findEntry(const Diagnostics& diagnostics, Diagnostics::Severity severity, const std::string& part);
// Position of a diagnostic of this severity whose text contains part, as "line:column"; "" when none.
std::string whereIs(const Diagnostics& diagnostics, Diagnostics::Severity severity, const std::string& part);
// Every diagnostic, one a line, for failure messages.
std::string listed(const Diagnostics& diagnostics);
// value as the 4 bytes of a big-endian number.
std::string bigEndian(uint32_t value);
// A PNG chunk: data's length, type, data and the CRC over type and data.
std::string pngChunk(const std::string& type, const std::string& data);
// A PNG: the signature, IHDR (width, height, depth, colour type, interlace method), the chunks in between,
// IDAT holding the filtered rows (each with its filter byte) compressed with zlib, and IEND.
std::string pngFile(uint32_t width, uint32_t height, int depth, int colourType, int interlace,
                    const std::string& between, const std::string& rows);

#endif
