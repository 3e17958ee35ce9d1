#ifndef SKIFF_LEVEL_DATAFILEWRITER_H
#define SKIFF_LEVEL_DATAFILEWRITER_H

#include <cstdint>
#include <string>
#include <vector>

struct BITMAP;

// Writes an Allegro datafile of 32-bit bitmaps in its published format, uncompressed,
// with nothing but a name for each object, so that the same pictures give the same bytes.
class DatafileWriter {
public:
    DatafileWriter();
    virtual ~DatafileWriter();

    // Appends a bitmap; it stays the caller's and must live until the datafile is written.
    void addBitmap(BITMAP* bitmap, const std::string& name);
    // The whole datafile.
    std::string contents() const;
    // Bytes the datafile would hold unpacked, without the packfile magic the game's reader takes
    // away first, were a bitmap of width x height pixels named name appended.
    int64_t unpackedSizeWith(int64_t width, int64_t height, const std::string& name) const;

private:
    // Bytes a bitmap of width x height named name takes in the datafile.
    static int64_t objectBytes(int64_t width, int64_t height, const std::string& name);

    std::vector<BITMAP*> bitmaps;
    std::vector<std::string> names;
};

#endif
