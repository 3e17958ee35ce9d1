#include "core/TestWorld.h"

#include <allegro.h>

#include <iterator>

#include "aliens/HomingAlien.h"
#include "core/DataPaths.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "sprites/CollisionMask.h"
#include "sprites/Player.h"
#include "sprites/Shot.h"

Level* makeLevel(Renderer* renderer, int columns, int rows)
{
    Level* level = new Level(renderer);
    Tileset* tiles = new Tileset(renderer);
    tiles->tileSize = 16;
    tiles->width = columns;
    tiles->height = rows;
    tiles->bounded = true;
    const int colours[2] = {magenta(), opaqueWhite()};
    for (int colour : colours) {
        BITMAP* picture = makeBitmap(16, 16, colour);
        tiles->tilePictures.push_back(picture);
        tiles->textures.push_back(renderer->makeTexture(picture));
        tiles->masks.push_back(createMask(picture));
    }
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            tiles->tiles.push_back(Tile(column * 16, row * 16, 0));
    level->tilesets.push_back(tiles);
    level->mainTileset = tiles;
    return level;
}

void setCell(Level& level, int column, int row, int tile)
{
    Tileset* tiles = level.mainTileset;
    tiles->tiles[row * tiles->width + column].index = (uint8_t)tile;
}

void setScroll(Level& level, double x, double y)
{
    level.mainTileset->scrollX = x;
    level.mainTileset->scrollY = y;
}

void HeldKeys::releaseAll()
{
    for (int i = 0; i < KEY_MAX; ++i)
        key[i] = 0;
}

HeldKeys::HeldKeys()
{
    releaseAll();
}

HeldKeys::~HeldKeys()
{
    releaseAll();
}

void HeldKeys::press(int scancode)
{
    key[scancode] = 1;
}

void HeldKeys::release(int scancode)
{
    key[scancode] = 0;
}

AssembledGame::AssembledGame(int columns, int rows)
{
    writeSpritePictures(dir);
    game.renderer = &renderer;
    game.level = makeLevel(&renderer, columns, rows);
    // The game's own set-up makes the prototypes and the player, from the pictures just written.
    WorkingDirectory inside(dir.path());
    game.createSprites();
    game.addAlienPrototype(0, DataPaths::Alien, 0);

    game.lives = 5;
    game.elapsedTicks = 1;
}

Player& AssembledGame::ship()
{
    return *game.player;
}

void AssembledGame::fly(double x, double y)
{
    game.player->state = Flying;
    game.player->x = x;
    game.player->y = y;
    game.player->lastScrollX = 0.0;
}

HomingAlien* AssembledGame::placeAlien(int x, int y)
{
    game.addAlien(0, x, y);
    return static_cast<HomingAlien*>(game.aliens.back());
}

HomingAlien* AssembledGame::alien(size_t i)
{
    auto it = game.aliens.begin();
    std::advance(it, i);
    return static_cast<HomingAlien*>(*it);
}

Shot* AssembledGame::placeShot(double x, double y)
{
    Shot* shot = game.shotPrototypes[0]->makeCopy();
    shot->x = x;
    shot->y = y;
    game.playerShots.push_back(shot);
    return shot;
}

void AssembledGame::loadStrip(Sprite& sprite, int width, int height, int frames)
{
    sprite.renderer = &renderer;
    sprite.frameCount = (uint8_t)frames;
    sprite.loadFrames(writeStrip(dir, "strip.bmp", width, height, frames).c_str());
}
