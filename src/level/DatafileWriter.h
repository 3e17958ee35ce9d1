#ifndef SKIFF_LEVEL_DATAFILEWRITER_H
#define SKIFF_LEVEL_DATAFILEWRITER_H

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

private:
    std::vector<BITMAP*> bitmaps;
    std::vector<std::string> names;
};

#endif
