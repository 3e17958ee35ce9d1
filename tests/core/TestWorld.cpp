#include "core/TestWorld.h"

#include <allegro.h>

#include "aliens/HomingAlien.h"
#include "core/DataPaths.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "sprites/CollisionMask.h"
#include "sprites/Explosion.h"
#include "sprites/Player.h"
#include "sprites/Shot.h"

Level* makeLevel(Renderer* renderer, int columns, int rows)
{
    Level* level = new Level(renderer);
    Tileset* tiles = new Tileset(renderer);
    tiles->tileSize = 16;
    tiles->width = columns;
    tiles->height = rows;
    tiles->scrollX = 0.0;
    tiles->scrollY = 0.0;
    tiles->factorX = 1.0;
    tiles->factorY = 1.0;
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

HeldKeys::HeldKeys()
{
    for (int i = 0; i < KEY_MAX; ++i)
        key[i] = 0;
}

HeldKeys::~HeldKeys()
{
    for (int i = 0; i < KEY_MAX; ++i)
        key[i] = 0;
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
    game.ticks = 0;
    game.pendingTicks = 0;
    game.stepsLeft = 0;
    game.lastFrameTicks = 0;
    game.elapsedTicks = 1;
}

AssembledGame::~AssembledGame() {}

Player& AssembledGame::ship()
{
    return *game.player;
}

HomingAlien* AssembledGame::placeAlien(int x, int y)
{
    Alien* prototype = game.alienPrototypes[0];
    HomingAlien* alien = new HomingAlien;
    alien->speed = 1.0;
    alien->copyFramesFrom(*prototype);
    Explosion* boom = new Explosion;
    boom->copyFramesFrom(*prototype->explosion);
    alien->explosion = boom;
    alien->exploding = false;
    alien->activity = Dormant;
    alien->heading = 0x800000;
    alien->target = prototype->target;
    alien->renderer = prototype->renderer;
    alien->setPosition(x, y);
    game.aliens.push_back(alien);
    return alien;
}

Shot* AssembledGame::placeShot(double x, double y)
{
    Shot* shot = game.shotPrototypes[0]->makeCopy();
    shot->x = x;
    shot->y = y;
    game.playerShots.push_back(shot);
    return shot;
}
