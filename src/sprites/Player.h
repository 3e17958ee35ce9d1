#ifndef SKIFF_SPRITES_PLAYER_H
#define SKIFF_SPRITES_PLAYER_H

#include "sprites/Sprite.h"

class Game;
class Shot;
class Explosion;

enum PlayerState : uint8_t {
    Flying = 0,
    Exploding = 1,
    Entering = 2,
    Protected = 3,
    Waiting = 4
};

// The ship: enters from the left, is steered with the arrow keys, fires with space.
class Player : public Sprite {
public:
    enum {
        ProtectionTicks = 200
    };

    Player();
    // Deletes the ship's explosion.
    ~Player() override;

    // 1 when the game must take a life and call respawn (Waiting, or the explosion ended); else 0.
    int update(int ticks) override;
    void draw() override;
    // Starts a new entry from just left of the screen at the current height.
    void respawn(int ticks);

    Game* game;
    Shot* shotPrototype;
    int32_t fireTicks;
    double lastScrollX;
    Explosion* explosion;
    int32_t respawnTick;
    PlayerState state;
};

#endif
