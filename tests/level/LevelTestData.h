#ifndef SKIFF_TESTS_LEVEL_LEVELTESTDATA_H
#define SKIFF_TESTS_LEVEL_LEVELTESTDATA_H

#include <string>
#include <vector>

struct BITMAP;
struct DATAFILE;

// A datafile built in memory, as load_datafile would return it; owns its bitmaps.
class MemoryDatafile {
public:
    enum { DatBitmap = ('B' << 24) | ('M' << 16) | ('P' << 8) | ' ' };

    MemoryDatafile();
    ~MemoryDatafile();
    // Appends a bitmap and takes it over; another type makes it an object that is not a bitmap.
    void addBitmap(BITMAP* bitmap, int type = DatBitmap);
    // Appends an object that is not a bitmap.
    void addData();
    // The objects followed by the DAT_END entry.
    const DATAFILE* get() const;

private:
    std::vector<DATAFILE> objects;
    std::vector<BITMAP*> bitmaps;
    char data[4];
};

// A tileset block whose grid is all zeros.
std::string emptyBlock(int pictureIndex, int tileSize, int width, int height);
// A tileset block with the given grid numbers.
std::string block(int pictureIndex, int tileSize, int width, int height, const std::string& grid);
// Colour of a pixel of a bitmap, as "r,g,b".
std::string colourAt(BITMAP* bitmap, int x, int y);

#endif
