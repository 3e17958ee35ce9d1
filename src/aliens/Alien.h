#ifndef SKIFF_ALIENS_ALIEN_H
#define SKIFF_ALIENS_ALIEN_H

#include "sprites/Sprite.h"

class Explosion;
class Player;

enum AlienState : int32_t {
    Active = 0,
    Gone = 1,
    Dormant = 2
};

// An enemy that waits until it scrolls into view, then flies until it leaves the
// screen or is destroyed; once exploding, its explosion stands in for it.
class Alien : public Sprite {
public:
    Alien();
    // Deletes the alien's explosion.
    ~Alien() override;

    // Nothing unless Active; the explosion's frame while exploding.
    void draw() override;
    // 0 while Active, 2 while Dormant, 1 when finished; while exploding, the explosion's result.
    int update(int ticks) override;
    // One movement step.
    virtual void move() = 0;

    AlienState activity;
    Explosion* explosion;
    bool exploding;
    Player* target;
};

#endif
