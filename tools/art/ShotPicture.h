#ifndef SKIFF_ART_SHOTPICTURE_H
#define SKIFF_ART_SHOTPICTURE_H

#include "Picture.h"

// The ship's shot: a hot bolt flying right, 10 x 4.
class ShotPicture : public Picture {
public:
    ShotPicture();
    // The bolt is the only frame.
    void paintFrame(BITMAP* target, int frame, int x, int y, int scale) const override;
};

#endif
