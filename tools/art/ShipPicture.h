#ifndef SKIFF_ART_SHIPPICTURE_H
#define SKIFF_ART_SHIPPICTURE_H

#include "Picture.h"

// The player's ship facing right, 24 x 12, two frames stacked: the engine
// flame flickers between them.
class ShipPicture : public Picture {
public:
    const char* path() const override;
    BITMAP* paint() const override;

    // Paints frame 0 or 1 of the ship with its top-left at (x, y), each pixel scale x scale.
    static void paintShip(BITMAP* target, int frame, int x, int y, int scale);
};

#endif
