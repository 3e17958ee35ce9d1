#ifndef SKIFF_SPRITES_SHOT_H
#define SKIFF_SPRITES_SHOT_H

#include "sprites/Sprite.h"

// A projectile flying straight on at speed pixels per logic step.
class Shot : public Sprite {
public:
    Shot();

    // A new shot sharing this prototype's frames, with its directions, delay and whole-number speed.
    Shot* makeCopy() const;

    void draw() override;
    // Moves one step whatever ticks says; 1 once the top-left corner has left the screen.
    int update(int ticks) override;

    uint8_t directionX;
    uint8_t directionY;
    uint8_t fireDelay;
};

#endif
