#include "FuzzWorld.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "aliens/Alien.h"
#include "core/DataPaths.h"
#include "core/Game.h"
#include "headless/MemoryDatafile.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "render/Renderer.h"
#include "sprites/Explosion.h"
#include "sprites/Player.h"
#include "sprites/Shot.h"

namespace {

MemoryDatafile* pictures = nullptr;
Renderer* sharedRenderer = nullptr;
Game* world = nullptr;
Player* startPlayer = nullptr;
Explosion* startExplosion = nullptr;
std::string workDirectory;

const char* const Pictures[] = {DataPaths::Alien, DataPaths::Explosions[0], DataPaths::Explosions[1], DataPaths::Player,
                                DataPaths::Shot};

// The main layer is 24 x 16 cells of 16 pixels, so it scrolls both ways; tile 0 is empty sky.
const char WorldLevel[] =
    "LEVELDEF fuzz world\n"
    "{ tileset 1 16 21 15 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 }\n"
    "{ tileset 0 16 24 16 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "1 2 3 4 5 6 7 1 2 3 4 5 6 7 1 2 3 4 5 6 7 1 2 3 "
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 }\n";

// Pixels follow a pattern of the coordinates, with magenta holes, so that masks differ from tile to tile.
BITMAP* patterned(int width, int height, int seed)
{
    BITMAP* bitmap = create_bitmap_ex(32, width, height);
    if (!bitmap)
        abort();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool hole = ((x * 7 + y * 3 + seed) % 5) == 0;
            putpixel(bitmap, x, y, hole ? makecol32(255, 0, 255) : makecol32(x * 4 & 255, y * 8 & 255, seed & 255));
        }
    }
    return bitmap;
}

void savePicture(const char* name, int width, int height, int seed)
{
    BITMAP* bitmap = patterned(width, height, seed);
    if (save_bitmap(name, bitmap, nullptr) != 0)
        abort();
    destroy_bitmap(bitmap);
}

template <typename Container>
void deleteAll(Container& sprites)
{
    for (auto* sprite : sprites)
        delete sprite;
    sprites.clear();
}

void removeWorkDirectory()
{
    for (const char* name : Pictures)
        remove((workDirectory + "/" + name).c_str());
    remove(FuzzWorld::scratchPath().c_str());
    rmdir((workDirectory + "/bmp").c_str());
    rmdir(workDirectory.c_str());
}

}

void FuzzWorld::initialize()
{
    if (sharedRenderer)
        return;
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        abort();
    set_color_depth(32);
    sharedRenderer = new Renderer();

    pictures = new MemoryDatafile();
    pictures->addBitmap(patterned(64, 32, 1));
    pictures->addBitmap(patterned(16, 16, 2));
    pictures->addBitmap(patterned(48, 48, 3));
    pictures->addData();

    // fuzz/run.sh gives each target a directory of its own; without one a temporary one is made and removed.
    const char* given = getenv("SKIFF_FUZZ_WORK");
    if (given) {
        workDirectory = given;
        mkdir(given, 0700);
    } else {
        const char* base = getenv("TMPDIR");
        char pattern[512];
        snprintf(pattern, sizeof pattern, "%s/skiff-fuzz-XXXXXX", base ? base : "/tmp");
        if (!mkdtemp(pattern))
            abort();
        workDirectory = pattern;
        atexit(removeWorkDirectory);
    }
    if (chdir(workDirectory.c_str()) != 0 || (mkdir("bmp", 0700) != 0 && errno != EEXIST))
        abort();
    savePicture(DataPaths::Alien, 16, 16, 4);
    savePicture(DataPaths::Explosions[0], 32, 256, 5);
    savePicture(DataPaths::Explosions[1], 24, 168, 6);
    savePicture(DataPaths::Player, 24, 24, 7);
    savePicture(DataPaths::Shot, 10, 4, 8);
}

const DATAFILE* FuzzWorld::datafile()
{
    return pictures->get();
}

Renderer* FuzzWorld::renderer()
{
    return sharedRenderer;
}

std::string FuzzWorld::scratchPath()
{
    return workDirectory + "/input.dat";
}

Game* FuzzWorld::game()
{
    if (!world) {
        world = new Game();
        world->renderer = sharedRenderer;
        world->level = new Level(sharedRenderer);
        std::istringstream description(WorldLevel);
        if (world->level->readDescription(description, pictures->get()) != 0)
            abort();
        world->createSprites();
        world->lives = 5;
        // Never deleted: they only keep the state the ship and its explosion start in.
        startPlayer = new Player(*world->player);
        startExplosion = new Explosion(*world->player->explosion);
    }
    return world;
}

void FuzzWorld::resetGame()
{
    deleteAll(world->aliens);
    deleteAll(world->alienPrototypes);
    deleteAll(world->playerShots);
    deleteAll(world->enemyShots);
    for (Tileset* tileset : world->level->tilesets) {
        tileset->scrollX = 0.0;
        tileset->scrollY = 0.0;
    }
    Explosion* explosion = world->player->explosion;
    *world->player = *startPlayer;
    *explosion = *startExplosion;
    world->lives = 5;
    world->ticks = 0;
    world->pendingTicks = 0;
    world->stepsLeft = 0;
    world->lastFrameTicks = 0;
    world->elapsedTicks = 0;
    world->framesCounted = 0;
    world->frameRateMark = 0;
    world->frameRateText[0] = '\0';
}
