#include "sprites/Shot.h"

#include "render/Screen.h"

Shot::Shot() : directionX(0), directionY(0), fireDelay(0) {}

Shot* Shot::makeCopy() const
{
    Shot* shot = new Shot();
    shot->copyFramesFrom(*this);
    shot->speed = (double)(int)speed;
    shot->directionX = directionX;
    shot->directionY = directionY;
    shot->fireDelay = fireDelay;
    return shot;
}

void Shot::draw()
{
    drawFrame();
}

int Shot::update(int)
{
    x += directionX * speed;
    y += directionY * speed;
    const int screenX = (int)(x - scrollX());
    const int screenY = (int)(y - scrollY());
    if (screenX < 0 || screenY < 0 || screenX > ScreenWidth || screenY > ScreenHeight)
        return 1;
    return 0;
}
