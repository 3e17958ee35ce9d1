#include "Probe.h"

Probe::Probe(const Sprite& model)
{
    copyFramesFrom(model);
}

void Probe::draw() {}

int Probe::update(int)
{
    return 0;
}

bool Probe::hitsAt(const Level& level, int frame, int atX, int atY)
{
    frameIndex = (uint8_t)frame;
    x = atX;
    y = atY;
    return hitsTerrain(level);
}
