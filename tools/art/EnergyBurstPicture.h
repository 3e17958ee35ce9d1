#ifndef SKIFF_ART_ENERGYBURSTPICTURE_H
#define SKIFF_ART_ENERGYBURSTPICTURE_H

#include "Picture.h"

// The small explosion: 7 frames of 24 x 24, a cyan-green energy burst whose
// shock ring spreads and frays away.
class EnergyBurstPicture : public Picture {
public:
    EnergyBurstPicture();
    // Frames 0 to 6.
    void paintFrame(BITMAP* target, int frame, int x, int y, int scale) const override;
};

#endif
