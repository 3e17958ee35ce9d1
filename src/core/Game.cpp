#include "core/Game.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>

#include "aliens/AlienDefReader.h"
#include "aliens/HomingAlien.h"
#include "core/DataPaths.h"
#include "level/Level.h"
#include "level/LevelFormat.h"
#include "render/Renderer.h"
#include "render/Screen.h"
#include "sprites/CollisionMask.h"
#include "sprites/Explosion.h"
#include "sprites/PictureCheck.h"
#include "sprites/Player.h"
#include "sprites/Shot.h"

namespace {
const int TimerSpeed = BPS_TO_TIMER(Game::StepsPerSecond);
const int FrameRateWindow = 100;
const int StartingLives = 5;
const fixed StartHeading = 0x800000;

// A prototype's frames: frames of the picture, owned by the sprite, for the game's renderer and level.
void loadOwnFrames(Sprite& sprite, Renderer* renderer, Level* level, int frames, const char* picture)
{
    sprite.renderer = renderer;
    sprite.level = level;
    sprite.frameCount = (uint8_t)frames;
    sprite.sharesFrames = false;
    sprite.loadFrames(picture);
}

template <typename T>
void deleteAll(std::list<T*>& sprites)
{
    for (typename std::list<T*>::iterator it = sprites.begin(); it != sprites.end();) {
        delete *it;
        it = sprites.erase(it);
    }
}

template <typename T>
void deleteAll(std::vector<T*>& sprites)
{
    while (!sprites.empty()) {
        delete sprites.back();
        sprites.pop_back();
    }
}
}

Game::Game()
    : renderer(nullptr),
      player(nullptr),
      level(nullptr),
      lives(0),
      ticks(0),
      pendingTicks(0),
      stepsLeft(0),
      lastFrameTicks(0),
      elapsedTicks(0),
      framesCounted(0),
      frameRateMark(0)
{
    frameRateText[0] = '\0';
}

Game::~Game()
{
    delete player;
    player = nullptr;
    deleteAll(enemyShots);
    deleteAll(playerShots);
    deleteAll(aliens);
    delete level;
    level = nullptr;
    deleteAll(alienPrototypes);
    deleteAll(shotPrototypes);
    deleteAll(explosionPrototypes);
    std::vector<Alien*>().swap(alienPrototypes);
    std::vector<Shot*>().swap(shotPrototypes);
    std::vector<Explosion*>().swap(explosionPrototypes);
}

void Game::onTimerTick(void* param)
{
    Game* game = static_cast<Game*>(param);
    game->ticks.fetch_add(1);
    game->pendingTicks.fetch_add(1);
}

int Game::setup()
{
    renderer = new Renderer();
    if (renderer->setupDisplay() < 0)
        return SetupDisplayFailed;
    install_param_int_ex(onTimerTick, this, TimerSpeed);
    install_keyboard();
    return loadWorld(DataPaths::Level);
}

int Game::loadWorld(const char* levelDirectory)
{
    level = new Level(renderer);
    if (level->load(levelDirectory) != 0) {
        renderer->alert("Error loading level", nullptr, nullptr, "exit");
        return SetupLevelFailed;
    }

    createSprites();

    AlienDefReader* reader = new AlienDefReader(this, levelDirectory);
    bool refused = reader->refused();
    delete reader;
    if (refused) {
        renderer->alert("Error loading level", nullptr, nullptr, "exit");
        return SetupLevelFailed;
    }

    lives = StartingLives;
    stepsLeft = 0;
    return SetupReady;
}

void Game::createSprites()
{
    Shot* shot = new Shot();
    loadOwnFrames(*shot, renderer, level, 1, DataPaths::Shot);
    shot->speed = 5.0;
    shot->directionX = 1;
    shot->directionY = 0;
    shot->fireDelay = 5;
    shotPrototypes.push_back(shot);

    const int explosionFrames[] = {8, 7};
    for (int i = 0; i < 2; ++i) {
        Explosion* explosion = new Explosion();
        loadOwnFrames(*explosion, renderer, level, explosionFrames[i], DataPaths::Explosions[i]);
        explosionPrototypes.push_back(explosion);
    }

    Explosion* shipExplosion = explosionPrototypes[0]->makeCopy();
    player = new Player();
    loadOwnFrames(*player, renderer, level, 2, DataPaths::Player);
    player->x = 100.0;
    player->y = 100.0;
    player->speed = 2.0;
    player->fireTicks = 0;
    player->lastScrollX = 0.0;
    player->state = Waiting;
    player->explosion = shipExplosion;
    player->shotPrototype = shotPrototypes[0];
    player->game = this;
}

void Game::run()
{
    showIntro();
    startLoop();
    while (runFrame()) {
    }
}

void Game::showIntro()
{
    BITMAP* intro = PictureCheck::isLoadable(DataPaths::Intro) ? load_bitmap(DataPaths::Intro, nullptr) : nullptr;
    if (!intro) {
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
        allegro_message("Unable to load %s\n", DataPaths::Intro);
        exit(-1);
    }
    uint32_t texture = renderer->makeTexture(intro);
    do {
        renderer->beginFrame();
        renderer->drawQuad(0.0, 0.0, ScreenWidth, ScreenHeight, texture);
        renderer->endFrame();
    } while (readkey() == 0);
    destroy_bitmap(intro);
}

void Game::startLoop()
{
    pendingTicks.store(0);
    lastFrameTicks = 0;
    elapsedTicks = 0;
    framesCounted = 0;
    frameRateMark = 0;
    frameRateText[0] = '\0';
}

bool Game::runFrame()
{
    stepsLeft = pendingTicks.exchange(0);
    const int32_t now = ticks.load();
    elapsedTicks = now - lastFrameTicks;
    lastFrameTicks = now;
    while (stepsLeft > 0) {
        logicStep();
        --stepsLeft;
    }

    renderer->beginFrame();
    if (level)
        level->draw();
    if (player)
        player->draw();
    for (Shot* shot : playerShots)
        shot->draw();
    for (Alien* alien : aliens)
        alien->draw();

    ++framesCounted;
    const int32_t current = ticks.load();
    if (current - frameRateMark > FrameRateWindow) {
        frameRateMark = current;
        snprintf(frameRateText, sizeof frameRateText, "%dFPS", framesCounted);
        framesCounted = 0;
    }
    renderer->drawText(frameRateText, 16.0f, 16.0f, 0);
    renderer->drawLives(lives);
    renderer->endFrame();

    return !key[KEY_ESC] && lives >= 0;
}

void Game::logicStep()
{
    if (level && player)
        level->update((int)player->x, (int)player->y);
    if (player) {
        if (player->update(elapsedTicks) == 1) {
            player->respawn(ticks.load());
            --lives;
        }
        if (player->state == Flying && level && player->hitsTerrain(*level) && player->explosion) {
            startExplosion(*player, *player->explosion);
            player->state = Exploding;
        }
    }
    updateShots();
    updateAliens();
}

void Game::startExplosion(Sprite& sprite, Explosion& explosion)
{
    const int offsetX = (sprite.frameWidth - explosion.frameWidth) / 2;
    const int offsetY = (sprite.frameHeight - explosion.frameHeight) / 2;
    explosion.setPosition((int)(sprite.x + offsetX), (int)(sprite.y + offsetY));
}

void Game::addPlayerShot(Shot* shot)
{
    playerShots.push_back(shot);
}

void Game::updateShots()
{
    // Moving a shot and its terrain test depend on nothing the aliens do, so all shots move
    // first; the aliens are then walked once for the few that some shot can reach, and each
    // shot tries those in list order, exactly as it would try the whole list.
    for (std::list<Shot*>::iterator it = playerShots.begin(); it != playerShots.end();) {
        Shot* shot = *it;
        if (shot->update(elapsedTicks) != 0 || (level && shot->hitsTerrain(*level))) {
            delete shot;
            it = playerShots.erase(it);
        } else {
            ++it;
        }
    }
    gatherShotTargets();
    for (std::list<Shot*>::iterator it = playerShots.begin(); it != playerShots.end();) {
        Shot* shot = *it;
        bool hit = false;
        for (Alien* alien : shotTargets) {
            if (alien->exploding || !alien->collidesWith(*shot))
                continue;
            delete shot;
            it = playerShots.erase(it);
            if (alien->explosion)
                startExplosion(*alien, *alien->explosion);
            alien->exploding = true;
            hit = true;
            break;
        }
        if (!hit)
            ++it;
    }

    if (player && (player->state == Entering || player->state == Protected))
        return;
    for (std::list<Sprite*>::iterator it = enemyShots.begin(); it != enemyShots.end();) {
        Sprite* shot = *it;
        if (shot->update(elapsedTicks) != 0 || (level && shot->hitsTerrain(*level))) {
            delete shot;
            it = enemyShots.erase(it);
            continue;
        }
        if (player && shot->collidesWith(*player) && player->state == Flying && player->explosion) {
            startExplosion(*player, *player->explosion);
            player->state = Exploding;
        }
        ++it;
    }
}

void Game::gatherShotTargets()
{
    shotTargets.clear();
    // The box around every shot's current mask: an alien whose mask box misses it misses every shot.
    long long left = 0, top = 0, right = 0, bottom = 0;
    bool any = false;
    for (const Shot* shot : playerShots) {
        if (!shot->hasFrame())
            continue;
        const CollisionMask* mask = shot->frameMasks[shot->frameIndex];
        const long long x = (int)shot->x;
        const long long y = (int)shot->y;
        if (!any || x < left)
            left = x;
        if (!any || y < top)
            top = y;
        if (!any || x + mask->width > right)
            right = x + mask->width;
        if (!any || y + mask->height > bottom)
            bottom = y + mask->height;
        any = true;
    }
    if (!any)
        return;
    for (Alien* alien : aliens) {
        if (alien->exploding || !alien->hasFrame())
            continue;
        const CollisionMask* mask = alien->frameMasks[alien->frameIndex];
        const long long x = (int)alien->x;
        const long long y = (int)alien->y;
        if (x < right && left < x + mask->width && y < bottom && top < y + mask->height)
            shotTargets.push_back(alien);
    }
}

void Game::updateAliens()
{
    for (std::list<Alien*>::iterator it = aliens.begin(); it != aliens.end();) {
        Alien* alien = *it;
        if (player && player->state == Flying && !alien->exploding && alien->collidesWith(*player)) {
            if (alien->explosion)
                startExplosion(*alien, *alien->explosion);
            alien->exploding = true;
            if (player->explosion)
                startExplosion(*player, *player->explosion);
            player->state = Exploding;
        }
        if (level && !alien->exploding && alien->hitsTerrain(*level)) {
            if (alien->explosion)
                startExplosion(*alien, *alien->explosion);
            alien->exploding = true;
        }
        if (alien->update(elapsedTicks) == 1) {
            delete alien;
            it = aliens.erase(it);
        } else {
            ++it;
        }
    }
}

bool Game::addAlienPrototype(int, const char* pictureFile, int explosionKind)
{
    // Only the two explosions exist; any other kind would index past them.
    if (explosionKind < 0 || explosionKind > 1 || (size_t)explosionKind >= explosionPrototypes.size())
        return false;
    const size_t before = alienPrototypes.size();
    HomingAlien* prototype = new HomingAlien();
    prototype->renderer = renderer;
    prototype->sharesFrames = false;
    prototype->exploding = false;
    prototype->activity = Dormant;
    prototype->setPosition(0, 0);
    prototype->loadFrames(pictureFile);
    prototype->speed = 1.0;
    prototype->target = player;
    prototype->level = level;
    prototype->explosion = explosionPrototypes[explosionKind]->makeCopy();
    prototype->heading = StartHeading;
    alienPrototypes.push_back(prototype);
    return alienPrototypes.size() > before;
}

bool Game::addAlien(int, int x, int y)
{
    // Placements need a prototype to copy, and a position that 16.16 fixed point holds.
    if (alienPrototypes.empty())
        return false;
    if (x < LevelFormat::MinCoordinate || x > LevelFormat::MaxCoordinate || y < LevelFormat::MinCoordinate ||
        y > LevelFormat::MaxCoordinate)
        return false;
    const Alien* prototype = alienPrototypes.front();
    HomingAlien* alien = new HomingAlien();
    alien->activity = Dormant;
    alien->speed = (double)(int)prototype->speed;
    alien->level = prototype->level;
    alien->copyFramesFrom(*prototype);
    alien->explosion = prototype->explosion ? prototype->explosion->makeCopy() : nullptr;
    alien->exploding = false;
    alien->activity = Dormant;
    alien->heading = StartHeading;
    alien->target = prototype->target;
    alien->renderer = prototype->renderer;
    alien->setPosition(x, y);
    aliens.push_back(alien);
    return true;
}
