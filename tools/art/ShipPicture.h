#ifndef SKIFF_ART_SHIPPICTURE_H
#define SKIFF_ART_SHIPPICTURE_H

#include "Picture.h"

// The player's ship facing right, 24 x 12, two frames stacked: the engine
// flame flickers between them.
class ShipPicture : public Picture {
public:
    ShipPicture();
    // Frames 0 and 1.
    void paintFrame(BITMAP* target, int frame, int x, int y, int scale) const override;
};

#endif
