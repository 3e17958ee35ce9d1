#ifndef SKIFF_SPRITES_PICTURECHECK_H
#define SKIFF_SPRITES_PICTURECHECK_H

// Tells whether a picture file can be handed to Allegro's load_bitmap, which
// crashes or hangs on BMP and PCX headers whose sizes lie. Only the headers are
// checked: a known format, a sane size, and for BMP the pixel rows inside the file.
// Only the game's two formats, uncompressed BMP and 8-bit PCX, pass.
class PictureCheck {
public:
    enum {
        MaxSide = 16384,
        MaxPixels = 4096 * 4096
    };

    // Whether the file at path is a BMP or PCX picture (by its extension, as
    // load_bitmap chooses) whose header load_bitmap can be trusted with.
    static bool isLoadable(const char* path);
};

#endif
