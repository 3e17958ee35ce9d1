#ifndef SKIFF_ART_PICTURE_H
#define SKIFF_ART_PICTURE_H

struct BITMAP;

// One of the game's shipped pictures, painted from scratch: by default a strip of frames
// stacked vertically, each painted by paintFrame.
class Picture {
public:
    // path: below the data directory (see DataPaths); the extension picks the file format.
    Picture(const char* path, int frameWidth, int frameHeight, int frames);
    virtual ~Picture() {}
    // A new 32-bit memory bitmap the caller destroys, transparent where nothing is painted;
    // null if memory ran out.
    virtual BITMAP* paint() const;
    // Paints frame with its top-left at (x, y), each pixel scale x scale. Pictures that
    // paint themselves whole paint nothing here.
    virtual void paintFrame(BITMAP* target, int frame, int x, int y, int scale) const;

    const char* const path;
    const int frameWidth;
    const int frameHeight;
    const int frames;
};

#endif
