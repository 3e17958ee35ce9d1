#ifndef SKIFF_ALIENS_HOMINGALIEN_H
#define SKIFF_ALIENS_HOMINGALIEN_H

#include "aliens/Alien.h"

// Flies at constant speed and turns 1/128 of a circle per step toward its target,
// in Allegro's 16.16 fixed point.
class HomingAlien : public Alien {
public:
    HomingAlien();

    // Also sets the fixed-point position.
    void setPosition(int x, int y) override;
    void move() override;

    int32_t heading;  // fixed-point angle, 256.0 a full turn, 0 toward +x, 64.0 toward +y
    int32_t fixedX;
    int32_t fixedY;
};

#endif
