#ifndef SKIFF_ART_ALIENPICTURE_H
#define SKIFF_ART_ALIENPICTURE_H

#include "Picture.h"

// A 16 x 16 alien drone, single frame. Kind 0 is the homing drone the level
// places ("bmp/alien.bmp"); kind 1 a spare design ("bmp/alien2.bmp").
class AlienPicture : public Picture {
public:
    explicit AlienPicture(int kind);
    // The drone is the only frame.
    void paintFrame(BITMAP* target, int frame, int x, int y, int scale) const override;

private:
    int kind;
};

#endif
