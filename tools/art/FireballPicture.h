#ifndef SKIFF_ART_FIREBALLPICTURE_H
#define SKIFF_ART_FIREBALLPICTURE_H

#include "Picture.h"

// The big explosion: 8 frames of 32 x 32, a fireball that swells, cools and
// breaks up into smoke.
class FireballPicture : public Picture {
public:
    FireballPicture();
    // Frames 0 to 7.
    void paintFrame(BITMAP* target, int frame, int x, int y, int scale) const override;
};

#endif
