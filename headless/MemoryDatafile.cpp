#include "headless/MemoryDatafile.h"

#include <allegro.h>

MemoryDatafile::MemoryDatafile() : data{0, 0, 0, 0}
{
    objects.push_back(DATAFILE{nullptr, DAT_END, 0, nullptr});
}

MemoryDatafile::~MemoryDatafile()
{
    for (BITMAP* bitmap : bitmaps)
        destroy_bitmap(bitmap);
}

void MemoryDatafile::addBitmap(BITMAP* bitmap, int type)
{
    static_assert(DatBitmap == DAT_BITMAP, "bitmap type as Allegro has it");
    bitmaps.push_back(bitmap);
    objects.insert(objects.end() - 1, DATAFILE{bitmap, type, 0, nullptr});
}

void MemoryDatafile::addData()
{
    objects.insert(objects.end() - 1, DATAFILE{data, DAT_DATA, sizeof data, nullptr});
}

const DATAFILE* MemoryDatafile::get() const
{
    return objects.data();
}
