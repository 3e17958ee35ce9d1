#include "headless/Probe.h"

#include <allegro.h>

#include "sprites/CollisionMask.h"

Probe::Probe() {}

Probe::Probe(const Sprite& model)
{
    copyFramesFrom(model);
}

void Probe::draw()
{
    drawFrame();
}

int Probe::update(int)
{
    return 0;
}

void Probe::addFrame(BITMAP* picture)
{
    frameWidth = picture->w;
    frameHeight = picture->h;
    frameMasks.push_back(createMask(picture));
    frameTextures.push_back(1);
}

bool Probe::hitsAt(const Level& level, int frame, int atX, int atY)
{
    frameIndex = (uint8_t)frame;
    x = atX;
    y = atY;
    return hitsTerrain(level);
}
