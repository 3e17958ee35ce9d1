#ifndef SKIFF_LEVEL_DATAFILECHECK_H
#define SKIFF_LEVEL_DATAFILECHECK_H

#include <cstdint>

// Tells whether a file can be handed to Allegro's load_datafile, which crashes or
// hangs on a datafile that is cut short or whose counts and sizes lie. Only the
// structure is checked: every count, property and object within what the file
// holds, nested datafiles too, and the headers of bitmaps against their pixels;
// then the file is read once more as load_datafile reads it and must agree.
// Fonts, samples, MIDI tunes, patches and RLE sprites are refused: their contents
// cannot be checked here, and a level's datafile holds pictures.
class DatafileCheck {
public:
    enum {
        MaxContentSize = 64 * 1024 * 1024,  // bytes of a whole datafile once unpacked, and of one object
        MaxObjects = 4096,                  // objects of one datafile, nested ones counted apart
        MaxDepth = 8,                       // datafiles nested inside one another
        MaxProperties = 64,                 // properties of one object
        MaxPropertySize = 64 * 1024,
        MaxBitmapSide = 16384
    };
    // Bytes of the file at most: packing stores a byte that does not repeat in nine bits.
    static constexpr int64_t MaxFileBytes = int64_t(MaxContentSize) / 8 * 9 + 65536;

    // Whether the file at path, packed or plain, holds a whole datafile that load_datafile
    // can read. False for a missing, empty, cut short or corrupted file, and for anything but a regular
    // file of at most MaxFileBytes (a FIFO would block, a device never end), refused without waiting.
    static bool isLoadable(const char* path);
};

#endif
