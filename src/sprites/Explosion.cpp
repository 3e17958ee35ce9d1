#include "sprites/Explosion.h"

#include "render/Renderer.h"
#include "render/Screen.h"

Explosion::Explosion() {}

Explosion* Explosion::makeCopy() const
{
    Explosion* explosion = new Explosion();
    explosion->copyFramesFrom(*this);
    return explosion;
}

void Explosion::draw()
{
    if (!renderer)
        return;
    if (frameIndex < frameCount)
        renderer->setColor(1.0f, 1.0f, 1.0f, 0.9f);
    drawFrame();
    renderer->setColor(1.0f, 1.0f, 1.0f, 1.0f);
}

int Explosion::update(int ticks)
{
    const int screenX = (int)(x - scrollX());
    frameTicks += ticks;
    frameIndex = (uint8_t)(frameTicks / TicksPerFrame);
    if (frameIndex >= frameCount)
        frameTicks = 0;
    if (frameIndex < frameCount && screenX + frameWidth >= 0 && screenX <= ScreenWidth)
        return 0;
    frameIndex = 0;
    return 1;
}
