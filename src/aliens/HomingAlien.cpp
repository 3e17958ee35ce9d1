#include "aliens/HomingAlien.h"

#include <allegro.h>

#include <cstdlib>

#include "level/LevelFormat.h"
#include "sprites/Player.h"

namespace {
const fixed TurnStep = 0x20000;
const fixed AngleMask = 0xFFFFFF;

// The ship may be further away than 16.16 fixed point can hold on a very wide map;
// steering only needs the direction, so the target point is held at the edge.
int clampCoordinate(double value)
{
    if (value < LevelFormat::MinCoordinate)
        return LevelFormat::MinCoordinate;
    if (value > LevelFormat::MaxCoordinate)
        return LevelFormat::MaxCoordinate;
    return (int)value;
}

// Allegro's itofix shifts left, which C++17 leaves undefined for a negative number.
fixed toFixed(int value)
{
    if (value >= 0)
        return itofix(value);
    if (value == LevelFormat::MinCoordinate)
        return -itofix(LevelFormat::MaxCoordinate) - itofix(1);
    return -itofix(-value);
}

fixed clampFixed(long long value)
{
    if (value > 0x7FFFFFFFLL)
        return 0x7FFFFFFF;
    if (value < -0x7FFFFFFFLL - 1)
        return -0x7FFFFFFF - 1;
    return (fixed)value;
}
}

HomingAlien::HomingAlien() : heading(0x800000), fixedX(0), fixedY(0) {}

void HomingAlien::setPosition(int newX, int newY)
{
    Alien::setPosition(newX, newY);
    fixedX = toFixed(clampCoordinate(newX));
    fixedY = toFixed(clampCoordinate(newY));
}

void HomingAlien::move()
{
    fixed targetX = 0;
    fixed targetY = 0;
    if (target) {
        targetX = toFixed(clampCoordinate(target->x));
        targetY = toFixed(clampCoordinate(target->y));
    }
    const fixed velocity = itofix((int)speed);
    const fixed dx = fixmul(velocity, fixcos(heading));
    const fixed dy = fixmul(velocity, fixsin(heading));
    fixedX = clampFixed((long long)fixedX + dx);
    fixedY = clampFixed((long long)fixedY + dy);
    x = fixtoi(fixedX);
    y = fixtoi(fixedY);

    if (!target || target->state == Exploding || target->state == Entering || target->state == Protected)
        return;
    const long long distance = std::llabs((long long)fixedY + dy - targetY) +
                               std::llabs((long long)fixedX + dx - targetX);
    const int closeRange = frameWidth < LevelFormat::MaxCoordinate / 3 ? 3 * frameWidth : LevelFormat::MaxCoordinate;
    if (distance <= (long long)itofix(closeRange))
        return;
    const long long cross = (long long)fixmul(dy, clampFixed((long long)targetX - fixedX)) +
                            (long long)fixmul(-dx, clampFixed((long long)targetY - fixedY));
    if (cross > 0)
        heading = (heading - TurnStep) & AngleMask;
    else
        heading = (heading + TurnStep) & AngleMask;
}
