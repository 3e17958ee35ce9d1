#ifndef SKIFF_ART_TITLEPICTURE_H
#define SKIFF_ART_TITLEPICTURE_H

#include "Picture.h"

// The 320 x 240 title screen: a starry cave mouth, the name in big slanted
// chrome letters, the ship racing a drone, and the prompt to press a key.
// Fully opaque: it has no magenta pixel.
class TitlePicture : public Picture {
public:
    TitlePicture();
    BITMAP* paint() const override;
};

#endif
