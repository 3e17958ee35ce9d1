#ifndef SKIFF_SPRITES_EXPLOSION_H
#define SKIFF_SPRITES_EXPLOSION_H

#include "sprites/Sprite.h"

// A one-shot animation played where a sprite was destroyed.
class Explosion : public Sprite {
public:
    Explosion();

    // A new explosion sharing this one's frames.
    Explosion* makeCopy() const;

    // The current frame at 90 % opacity; leaves the colour opaque white.
    void draw() override;
    // Advances the animation; 1 once it has played out (back at frame 0) or left the screen sideways.
    int update(int ticks) override;
};

#endif
