#include "aliens/Alien.h"

#include "render/Renderer.h"
#include "render/Screen.h"
#include "sprites/Explosion.h"

Alien::Alien() : activity(Dormant), explosion(nullptr), exploding(false), target(nullptr)
{
    x = 0.0;
    y = 0.0;
    sharesFrames = false;
}

Alien::~Alien()
{
    delete explosion;
}

void Alien::draw()
{
    if (exploding) {
        if (explosion)
            explosion->draw();
        return;
    }
    if (activity == Active)
        drawFrame();
}

int Alien::update(int ticks)
{
    if (exploding)
        return explosion ? explosion->update(ticks) : 1;
    const int screenX = (int)(x - scrollX());
    const int screenY = (int)(y - scrollY());
    switch (activity) {
    case Dormant:
        // Only the horizontal position wakes an alien: the level scrolls only that way.
        if (screenX > 0 && screenX < ScreenWidth) {
            activity = Active;
            return 0;
        }
        return 2;
    case Active: {
        const int screenBottom = renderer ? renderer->screenHeight() : ScreenHeight;
        if (screenX + frameWidth < 0 || screenX > ScreenWidth || screenY + frameHeight < 0 ||
            screenY > screenBottom) {
            activity = Gone;
            return 1;
        }
        move();
        return 0;
    }
    case Gone:
    default:
        return 1;
    }
}
