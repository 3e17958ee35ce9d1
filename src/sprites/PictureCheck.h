#ifndef SKIFF_SPRITES_PICTURECHECK_H
#define SKIFF_SPRITES_PICTURECHECK_H

#include <cstddef>
#include <cstdint>

// Tells whether a picture file can be handed to Allegro's load_bitmap, which
// crashes or hangs on BMP and PCX headers whose sizes lie. Only the headers are
// checked: a known format, a sane size, and for BMP the pixel rows inside the file.
// The game loads only its two formats, uncompressed BMP and 8-bit PCX; its tools also PNG.
class PictureCheck {
public:
    enum {
        MaxSide = 16384,
        MaxPixels = 4096 * 4096
    };

    // Bytes of a picture file at most: its pixels at 32 bits, with room for a header and a palette.
    static constexpr int64_t MaxFileBytes = int64_t(MaxPixels) * 4 + 65536;

    // Bytes of a picture's start that hold every header checked.
    enum { HeaderBytes = 140 };

    // Whether the file at path is a regular file of at most MaxFileBytes and a BMP or PCX picture (by its
    // extension, as load_bitmap chooses) whose header load_bitmap can be trusted with.
    static bool isLoadable(const char* path);
    // Whether the picture whose first got bytes (HeaderBytes, or the whole file when shorter) are at
    // header, of size bytes in all, is an uncompressed BMP, an 8-bit PCX or a PNG, told by its
    // contents, whose header its loader can be trusted with, of a size within the limits above.
    static bool isSound(const unsigned char* header, size_t got, int64_t size);
    // The size in pixels that the header of a BMP or a PNG claims, whether sound or not; false when the
    // got bytes at header hold no such header.
    static bool claimedSize(const unsigned char* header, size_t got, int64_t& width, int64_t& height);
    // Whether header is that of a BMP whose rows are run-length coded (RLE8 or RLE4), which is never sound.
    static bool isRunLengthBmp(const unsigned char* header, size_t got);
};

#endif
