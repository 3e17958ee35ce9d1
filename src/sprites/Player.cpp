#include "sprites/Player.h"

#include <allegro.h>

#include "core/Game.h"
#include "render/Screen.h"
#include "sprites/Explosion.h"
#include "sprites/Shot.h"

namespace {
const double EntryStart = -30.0;
const double EntryEnd = 106.0;
const int BlinkPeriod = 3;
}

Player::Player()
    : game(nullptr),
      shotPrototype(nullptr),
      fireTicks(0),
      lastScrollX(0.0),
      explosion(nullptr),
      respawnTick(0),
      state(Waiting)
{
}

Player::~Player()
{
    delete explosion;
}

int Player::update(int ticks)
{
    if (state == Waiting)
        return 1;
    if (state == Exploding)
        return explosion ? explosion->update(ticks) : 1;

    const double scrolledX = scrollX();
    x += scrolledX - lastScrollX;
    lastScrollX = scrolledX;

    if (state == Entering) {
        if (scrolledX + EntryEnd > x) {
            x += speed;
            return 0;
        }
        state = Protected;
    }
    if (state == Protected && game && game->ticks - respawnTick > ProtectionTicks)
        state = Flying;

    const double top = scrollY();
    if (key[KEY_UP]) {
        if (y - top - speed < 0)
            y = top;
        else
            y -= speed;
    }
    if (key[KEY_DOWN]) {
        if ((y - top) + frameHeight + speed > ScreenHeight)
            y = top + ScreenHeight - frameHeight;
        else
            y += speed;
    }
    if (key[KEY_LEFT])
        x -= speed;
    if (x - scrolledX - speed < 0)
        x = scrolledX;
    if (key[KEY_RIGHT]) {
        if ((x - scrolledX) + frameWidth + speed > ScreenWidth)
            x = scrolledX + ScreenWidth - frameWidth;
        else
            x += speed;
    }

    fireTicks += ticks;
    if (state == Flying && key[KEY_SPACE] && shotPrototype && fireTicks > shotPrototype->fireDelay) {
        Shot* shot = shotPrototype->makeCopy();
        shot->setPosition((int)(x + frameWidth), (int)(y + frameHeight / 2));
        if (game)
            game->addPlayerShot(shot);
        else
            delete shot;
        fireTicks = 0;
    }

    animate(ticks);
    return 0;
}

void Player::draw()
{
    switch (state) {
    case Exploding:
        if (explosion)
            explosion->draw();
        break;
    case Entering:
    case Protected:
        if (frameIndex % BlinkPeriod == 0)
            drawFrame();
        break;
    default:
        drawFrame();
        break;
    }
}

void Player::respawn(int ticks)
{
    state = Entering;
    respawnTick = ticks;
    x = scrollX() + EntryStart;
}
