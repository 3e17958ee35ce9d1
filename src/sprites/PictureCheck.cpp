#include "sprites/PictureCheck.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "core/FileBytes.h"

namespace {

// Header sizes in bytes.
enum { BmpFileHeader = 14, PcxHeader = 128, OS2InfoHeader = 12, WindowsInfoHeader = 40, LargestInfoHeader = 124 };
static_assert(int(PictureCheck::HeaderBytes) >= int(BmpFileHeader + LargestInfoHeader) &&
                  int(PictureCheck::HeaderBytes) >= int(PcxHeader),
              "the header bytes hold every header checked");
const uint32_t Uncompressed = 0;
const uint32_t BitFields = 3;

uint32_t little32(const unsigned char* p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

unsigned little16(const unsigned char* p)
{
    return p[0] | p[1] << 8;
}

bool hasExtension(const char* path, const char* extension)
{
    const char* dot = strrchr(path, '.');
    const char* slash = strrchr(path, '/');
    return dot && (!slash || dot > slash) && strcasecmp(dot + 1, extension) == 0;
}

bool sizeIsSane(int64_t width, int64_t height)
{
    return width >= 0 && height >= 0 && width <= PictureCheck::MaxSide && height <= PictureCheck::MaxSide &&
           width * height <= PictureCheck::MaxPixels;
}

uint32_t big32(const unsigned char* p)
{
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | (uint32_t)p[3];
}

long fileSize(FILE* file)
{
    if (fseek(file, 0, SEEK_END) != 0)
        return -1;
    long size = ftell(file);
    return fseek(file, 0, SEEK_SET) == 0 ? size : -1;
}

// What a BMP's file header and OS/2 or Windows info header say.
struct BmpHeader {
    uint32_t pixelOffset;
    uint32_t infoSize;
    int64_t width;
    int64_t height;
    unsigned bits;
    uint32_t compression;
};

// Reads a BMP's headers; false when they are not all in the got bytes at header or are of no known kind.
bool readBmp(const unsigned char* header, size_t got, BmpHeader& bmp)
{
    if (got < BmpFileHeader + 4 || header[0] != 'B' || header[1] != 'M')
        return false;
    bmp.pixelOffset = little32(header + 10);
    bmp.infoSize = little32(header + 14);
    if (bmp.infoSize != OS2InfoHeader && (bmp.infoSize < WindowsInfoHeader || bmp.infoSize > LargestInfoHeader))
        return false;
    if (got < BmpFileHeader + bmp.infoSize)
        return false;
    const unsigned char* info = header + BmpFileHeader;
    bmp.compression = Uncompressed;
    if (bmp.infoSize == OS2InfoHeader) {
        bmp.width = little16(info + 4);
        bmp.height = little16(info + 6);
        bmp.bits = little16(info + 10);
    } else {
        bmp.width = (int32_t)little32(info + 4);
        bmp.height = (int32_t)little32(info + 8);
        bmp.bits = little16(info + 14);
        bmp.compression = little32(info + 16);
    }
    return true;
}

// A PNG's signature and its IHDR chunk's type, all in the got bytes at header.
bool hasPngHeader(const unsigned char* header, size_t got)
{
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    return got >= 33 && memcmp(header, signature, 8) == 0 && memcmp(header + 12, "IHDR", 4) == 0;
}

// File header, then an OS/2 or a Windows info header; uncompressed rows, padded to 4 bytes, all in the file.
bool isSoundBmp(const unsigned char* header, size_t got, int64_t size)
{
    BmpHeader bmp;
    if (size < BmpFileHeader + OS2InfoHeader || !readBmp(header, got, bmp))
        return false;
    if (!sizeIsSane(bmp.width, bmp.height))
        return false;
    const unsigned bits = bmp.bits;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    if (bmp.compression != Uncompressed && !(bmp.compression == BitFields && (bits == 16 || bits == 32)))
        return false;
    const int64_t rowBytes = (bmp.width * bits + 31) / 32 * 4;
    return bmp.pixelOffset >= (uint32_t)BmpFileHeader + bmp.infoSize &&
           (int64_t)bmp.pixelOffset + rowBytes * bmp.height <= size;
}

// The 128-byte header of an 8-bit picture of one plane (palette) or three (RGB).
bool isSoundPcx(const unsigned char* header, size_t got, int64_t size)
{
    if (size < PcxHeader || got < PcxHeader)
        return false;
    if (header[0] != 10 || header[2] != 1 || header[3] != 8 || (header[65] != 1 && header[65] != 3))
        return false;
    const int64_t xMin = little16(header + 4);
    const int64_t yMin = little16(header + 6);
    const int64_t xMax = little16(header + 8);
    const int64_t yMax = little16(header + 10);
    const int64_t bytesPerLine = little16(header + 66);
    const int64_t width = xMax - xMin + 1;
    const int64_t height = yMax - yMin + 1;
    // Rows are padded to an even length at most; longer ones would be walked byte by byte for nothing.
    return width >= 1 && height >= 1 && sizeIsSane(width, height) && bytesPerLine >= width &&
           bytesPerLine <= width + 16;
}

// The signature, then the IHDR chunk first, as PNG requires: a sane size and a bit depth its colour type allows.
bool isSoundPng(const unsigned char* header, size_t got, int64_t size)
{
    if (size < 33 || !hasPngHeader(header, got) || big32(header + 8) != 13)
        return false;
    const int64_t width = big32(header + 16);
    const int64_t height = big32(header + 20);
    const unsigned depth = header[24];
    const unsigned colourType = header[25];
    bool depthFits = false;
    switch (colourType) {
    case 0:
        depthFits = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
        break;
    case 3:
        depthFits = depth == 1 || depth == 2 || depth == 4 || depth == 8;
        break;
    case 2:
    case 4:
    case 6:
        depthFits = depth == 8 || depth == 16;
        break;
    }
    return width >= 1 && height >= 1 && sizeIsSane(width, height) && depthFits && header[26] == 0 &&
           header[27] == 0 && header[28] <= 1;
}

}

bool PictureCheck::isSound(const unsigned char* header, size_t got, int64_t size)
{
    if (!header)
        return false;
    if (got >= 2 && header[0] == 'B' && header[1] == 'M')
        return isSoundBmp(header, got, size);
    if (got >= 1 && header[0] == 0x89)
        return isSoundPng(header, got, size);
    return isSoundPcx(header, got, size);
}

bool PictureCheck::claimedSize(const unsigned char* header, size_t got, int64_t& width, int64_t& height)
{
    BmpHeader bmp;
    if (header && hasPngHeader(header, got)) {
        width = big32(header + 16);
        height = big32(header + 20);
    } else if (header && readBmp(header, got, bmp)) {
        // A negative height stands for rows stored top down.
        width = bmp.width;
        height = bmp.height < 0 ? -bmp.height : bmp.height;
    } else {
        return false;
    }
    return true;
}

bool PictureCheck::isRunLengthBmp(const unsigned char* header, size_t got)
{
    BmpHeader bmp;
    return header && readBmp(header, got, bmp) && (bmp.compression == 1 || bmp.compression == 2);
}

bool PictureCheck::isLoadable(const char* path)
{
    if (!path)
        return false;
    const bool bmp = hasExtension(path, "bmp");
    if (!bmp && !hasExtension(path, "pcx"))
        return false;
    // Only a regular file of a picture's size: a FIFO would block the open, a device never end.
    if (FileBytes::check(path, MaxFileBytes) != FileBytes::Read)
        return false;
    FILE* file = fopen(path, "rb");
    if (!file)
        return false;
    const long size = fileSize(file);
    unsigned char header[HeaderBytes];
    const size_t got = size > 0 ? fread(header, 1, sizeof header, file) : 0;
    fclose(file);
    // load_bitmap picks its loader by the extension, so the header must be of that format.
    return bmp ? isSoundBmp(header, got, size) : isSoundPcx(header, got, size);
}
