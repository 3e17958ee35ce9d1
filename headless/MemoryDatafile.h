#ifndef SKIFF_HEADLESS_MEMORYDATAFILE_H
#define SKIFF_HEADLESS_MEMORYDATAFILE_H

#include <vector>

struct BITMAP;
struct DATAFILE;

// A datafile built in memory, as load_datafile would return it; owns its bitmaps.
class MemoryDatafile {
public:
    enum { DatBitmap = ('B' << 24) | ('M' << 16) | ('P' << 8) | ' ' };

    MemoryDatafile();
    virtual ~MemoryDatafile();
    // Appends a bitmap and takes it over; another type makes it an object that is not a bitmap.
    void addBitmap(BITMAP* bitmap, int type = DatBitmap);
    // Appends an object that is not a bitmap.
    void addData();
    // The objects followed by the DAT_END entry; valid until the next addition.
    const DATAFILE* get() const;

private:
    std::vector<DATAFILE> objects;
    std::vector<BITMAP*> bitmaps;
    char data[4];
};

#endif
