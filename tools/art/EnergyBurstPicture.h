#ifndef SKIFF_ART_ENERGYBURSTPICTURE_H
#define SKIFF_ART_ENERGYBURSTPICTURE_H

#include "Picture.h"

// The small explosion: 7 frames of 24 x 24, a cyan-green energy burst whose
// shock ring spreads and frays away.
class EnergyBurstPicture : public Picture {
public:
    const char* path() const override;
    BITMAP* paint() const override;

    // Paints frame (0 to 6) with its top-left at (x, y), each pixel scale x scale.
    static void paintFrame(BITMAP* target, int frame, int x, int y, int scale);
};

#endif
