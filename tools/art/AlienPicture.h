#ifndef SKIFF_ART_ALIENPICTURE_H
#define SKIFF_ART_ALIENPICTURE_H

#include "Picture.h"

// A 16 x 16 alien drone, single frame. Kind 0 is the homing drone the level
// places ("bmp/alien.bmp"); kind 1 a spare design ("bmp/alien2.bmp").
class AlienPicture : public Picture {
public:
    explicit AlienPicture(int kind);
    const char* path() const override;
    BITMAP* paint() const override;

    // Paints alien kind with its top-left at (x, y), each pixel scale x scale.
    static void paintAlien(BITMAP* target, int kind, int x, int y, int scale);

private:
    int kind;
};

#endif
