#ifndef SKIFF_ART_PICTURE_H
#define SKIFF_ART_PICTURE_H

struct BITMAP;

// One of the game's shipped pictures, painted from scratch.
class Picture {
public:
    virtual ~Picture() {}
    // Path below the data directory, e.g. "bmp/shoot.bmp"; the extension picks the file format.
    virtual const char* path() const = 0;
    // A new 32-bit memory bitmap the caller destroys; null if memory ran out.
    virtual BITMAP* paint() const = 0;
};

#endif
