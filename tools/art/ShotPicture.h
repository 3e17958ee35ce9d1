#ifndef SKIFF_ART_SHOTPICTURE_H
#define SKIFF_ART_SHOTPICTURE_H

#include "Picture.h"

// The ship's shot: a hot bolt flying right, 10 x 4.
class ShotPicture : public Picture {
public:
    const char* path() const override;
    BITMAP* paint() const override;

    // Paints the bolt with its top-left at (x, y), each pixel scale x scale.
    static void paintShot(BITMAP* target, int x, int y, int scale);
};

#endif
