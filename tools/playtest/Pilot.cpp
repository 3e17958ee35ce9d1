#include "Pilot.h"

#include <allegro.h>

Pilot::Pilot(bool fireHeld) : fire(fireHeld) {}

Pilot::~Pilot() {}

void Pilot::steer(const Game&, int)
{
    releaseKeys();
    key[KEY_SPACE] = fire;
}

void Pilot::releaseKeys()
{
    key[KEY_UP] = 0;
    key[KEY_DOWN] = 0;
    key[KEY_LEFT] = 0;
    key[KEY_RIGHT] = 0;
    key[KEY_SPACE] = 0;
}
