#include "core/TestWorld.h"

#include <allegro.h>

#include "aliens/HomingAlien.h"
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
    std::string bmp = dir.path() + "/bmp/";
    game.renderer = &renderer;
    game.level = makeLevel(&renderer, columns, rows);

    Shot* shot = new Shot;
    shot->renderer = &renderer;
    shot->level = game.level;
    shot->sharesFrames = false;
    shot->frameCount = 1;
    shot->loadFrames((bmp + "shoot.bmp").c_str());
    shot->speed = 5.0;
    shot->directionX = 1;
    shot->directionY = 0;
    shot->fireDelay = 5;
    game.shotPrototypes.push_back(shot);

    const char* booms[2] = {"boom.bmp", "boom2.bmp"};
    const int counts[2] = {8, 7};
    for (int i = 0; i < 2; ++i) {
        Explosion* boom = new Explosion;
        boom->renderer = &renderer;
        boom->level = game.level;
        boom->sharesFrames = false;
        boom->frameCount = (uint8_t)counts[i];
        boom->loadFrames((bmp + booms[i]).c_str());
        game.explosionPrototypes.push_back(boom);
    }

    Explosion* shipBoom = new Explosion;
    shipBoom->copyFramesFrom(*game.explosionPrototypes[0]);
    Player* player = new Player;
    player->renderer = &renderer;
    player->level = game.level;
    player->sharesFrames = false;
    player->frameCount = 2;
    player->loadFrames((bmp + "player.bmp").c_str());
    player->x = 100.0;
    player->y = 100.0;
    player->speed = 2.0;
    player->fireTicks = 0;
    player->lastScrollX = 0.0;
    player->state = Waiting;
    player->explosion = shipBoom;
    player->shotPrototype = shot;
    player->game = &game;
    game.player = player;

    HomingAlien* prototype = new HomingAlien;
    prototype->renderer = &renderer;
    prototype->sharesFrames = false;
    prototype->setPosition(0, 0);
    prototype->loadFrames((bmp + "alien.bmp").c_str());
    prototype->speed = 1.0;
    prototype->target = player;
    prototype->level = game.level;
    Explosion* alienBoom = new Explosion;
    alienBoom->copyFramesFrom(*game.explosionPrototypes[0]);
    prototype->explosion = alienBoom;
    prototype->heading = 0x800000;
    game.alienPrototypes.push_back(prototype);

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
    Shot* prototype = game.shotPrototypes[0];
    Shot* shot = new Shot;
    shot->copyFramesFrom(*prototype);
    shot->speed = 5.0;
    shot->directionX = 1;
    shot->directionY = 0;
    shot->fireDelay = 5;
    shot->x = x;
    shot->y = y;
    game.playerShots.push_back(shot);
    return shot;
}
