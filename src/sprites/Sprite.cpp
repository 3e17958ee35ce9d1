#include "sprites/Sprite.h"

#include <allegro.h>

#include <algorithm>

#include "level/Level.h"
#include "level/Tileset.h"
#include "render/Renderer.h"
#include "sprites/CollisionMask.h"
#include "sprites/PictureCheck.h"

Sprite::Sprite()
    : renderer(nullptr),
      x(0.0),
      y(0.0),
      speed(0.0),
      frameHeight(0),
      frameWidth(0),
      frameIndex(0),
      frameTicks(0),
      frameCount(1),
      level(nullptr),
      sharesFrames(false)
{
}

Sprite::~Sprite()
{
    if (!sharesFrames) {
        while (!frameMasks.empty()) {
            if (!frameTextures.empty())
                frameTextures.pop_back();
            destroyMask(frameMasks.back());
            frameMasks.pop_back();
        }
    }
    frameTextures.clear();
    frameMasks.clear();
}

void Sprite::setPosition(int newX, int newY)
{
    x = newX;
    y = newY;
}

void Sprite::loadFrames(const char* fileName)
{
    BITMAP* picture = PictureCheck::isLoadable(fileName) ? load_bitmap(fileName, nullptr) : nullptr;
    if (!picture)
        return;
    int count = frameCount > 0 ? frameCount : 1;
    frameWidth = picture->w;
    frameHeight = picture->h / count;
    if (frameWidth <= 0 || frameHeight <= 0) {
        // A picture too small to hold one row per frame yields no frames at all.
        frameWidth = 0;
        frameHeight = 0;
        destroy_bitmap(picture);
        return;
    }
    for (int i = 0; i < count; ++i) {
        BITMAP* frame = create_bitmap(frameWidth, frameHeight);
        if (!frame)
            break;
        blit(picture, frame, 0, i * frameHeight, 0, 0, frameWidth, frameHeight);
        frameTextures.push_back(renderer ? renderer->makeTexture(frame) : 0);
        frameMasks.push_back(createMask(frame));
        destroy_bitmap(frame);
    }
    destroy_bitmap(picture);
}

void Sprite::copyFramesFrom(const Sprite& prototype)
{
    frameCount = prototype.frameCount;
    // Every alien placed copies its prototype's frames and its explosion's: one allocation a list, not one a frame.
    const size_t count = std::min(prototype.frameMasks.size(), prototype.frameTextures.size());
    frameTextures.reserve(frameTextures.size() + count);
    frameMasks.reserve(frameMasks.size() + count);
    for (size_t i = 0; i < count; ++i) {
        frameTextures.push_back(prototype.frameTextures[i]);
        frameMasks.push_back(prototype.frameMasks[i]);
    }
    frameWidth = prototype.frameWidth;
    frameHeight = prototype.frameHeight;
    level = prototype.level;
    renderer = prototype.renderer;
    sharesFrames = true;
}

bool Sprite::hasFrame() const
{
    return frameIndex < frameMasks.size() && frameIndex < frameTextures.size() &&
           frameMasks[frameIndex] != nullptr;
}

bool Sprite::collidesWith(const Sprite& other) const
{
    if (!hasFrame() || !other.hasFrame())
        return false;
    return masksOverlap(frameMasks[frameIndex], other.frameMasks[other.frameIndex], (int)x, (int)y,
                        (int)other.x, (int)other.y) != 0;
}

bool Sprite::hitsTerrain(const Level& terrain) const
{
    const Tileset* main = terrain.mainTileset;
    if (!main || !hasFrame() || main->tileSize < 1)
        return false;
    // Far outside the map nothing can be hit, and the integer cell arithmetic below would overflow.
    const double limit = 1e9;
    if (!(x > -limit && x < limit && y > -limit && y < limit))
        return false;
    const CollisionMask* mask = frameMasks[frameIndex];
    const long long ts = main->tileSize;
    const int spriteX = (int)x;
    const int spriteY = (int)y;
    // The grid line at or before a position p is p - fmod(p, ts), which is exactly
    // ts * trunc(p / ts): whole-number division finds the first row and column without fmod.
    // Cells off the grid hold nothing, and the grid's top row is never tested (the ship flies
    // in under it), so the walk starts at row 1 and column 0 at the earliest.
    long long firstRow = spriteY / main->tileSize;
    long long firstColumn = spriteX / main->tileSize;
    if (firstRow < 1)
        firstRow = 1;
    if (firstColumn < 0)
        firstColumn = 0;
    const std::vector<Tile>& cells = main->tiles;
    for (long long row = firstRow; row < main->height && y + frameHeight > row * ts; ++row) {
        for (long long column = firstColumn; column < main->width && x + frameWidth > column * ts; ++column) {
            const size_t at = (size_t)(row * main->width + column);
            if (at >= cells.size())
                continue;
            const Tile& cell = cells[at];
            if (cell.index != 0 && cell.index < main->masks.size() && main->masks[cell.index] &&
                masksOverlap(mask, main->masks[cell.index], spriteX, spriteY, cell.x, cell.y))
                return true;
        }
    }
    return false;
}

double Sprite::scrollX() const
{
    return level && level->mainTileset ? level->mainTileset->scrollX : 0.0;
}

double Sprite::scrollY() const
{
    return level && level->mainTileset ? level->mainTileset->scrollY : 0.0;
}

void Sprite::drawFrame()
{
    if (!hasFrame() || !renderer)
        return;
    renderer->drawQuad(x - scrollX(), y - scrollY(), frameWidth, frameHeight, frameTextures[frameIndex]);
}

bool Sprite::animate(int ticks)
{
    frameTicks += ticks;
    frameIndex = (uint8_t)(frameTicks / TicksPerFrame);
    if (frameIndex >= frameCount) {
        frameTicks = 0;
        frameIndex = 0;
        return true;
    }
    return false;
}
