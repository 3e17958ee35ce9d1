#include "FuzzWorld.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "aliens/Alien.h"
#include "core/DataPaths.h"
#include "core/Game.h"
#include "headless/MemoryDatafile.h"
#include "headless/TempDir.h"
#include "level/Level.h"
#include "level/LevelText.h"
#include "level/Tileset.h"
#include "render/Renderer.h"
#include "sprites/Explosion.h"
#include "sprites/Player.h"
#include "sprites/Shot.h"

namespace {

// The lives a game starts with, as Game::loadWorld gives them.
const int StartingLives = 5;

// The ship and its explosion are copies that are never deleted: they share the world's frames and
// explosion, which a copy's destructor would free.
struct Moment {
    Player* player;
    Explosion* explosion;
    std::vector<double> scroll;
    int32_t ticks;
};

MemoryDatafile* pictures = nullptr;
MemoryDatafile* worldPictures = nullptr;
Renderer* sharedRenderer = nullptr;
Game* world = nullptr;
// Never freed, so that the leak check at exit still finds the copies it points to.
std::vector<Moment>& moments = *new std::vector<Moment>();
std::string workDirectory;

// The main layer is 24 x 16 cells of 16 pixels, so it scrolls both ways; tile 0 is empty sky, and the two
// bottom rows are ground of the picture's first tiles.
std::string worldLevel()
{
    std::vector<int> ground(24 * 16, 0);
    for (int column = 0; column < 24; ++column) {
        ground[14 * 24 + column] = 1 + column % 7;
        ground[15 * 24 + column] = 1;
    }
    return LevelText::description("fuzz world",
                                  {{1, 16, 21, 15, std::vector<int>(21 * 15, 0)}, {0, 16, 24, 16, ground}});
}

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

TempDir* ownDirectory = nullptr;

void removeWorkDirectory()
{
    delete ownDirectory;
}

}

// AddressSanitizer's default quarantine holds back 256 MB of freed blocks, so nearly every allocation
// lands on memory untouched for long: page faults and cache misses took a third of the time of the
// readers' targets. 16 MB still holds far more than one input frees, so a use after free within an
// input is caught as before. ASAN_OPTIONS given to a target come after these defaults and win.
extern "C" const char* __asan_default_options()
{
    return "quarantine_size_mb=16";
}

// The set-up of every target that needs no more than initialize(); weak, so that a target's own wins.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int*, char***)
{
    FuzzWorld::initialize();
    return 0;
}

void FuzzWorld::initialize()
{
    if (sharedRenderer)
        return;
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        abort();
    set_color_depth(32);
    sharedRenderer = new Renderer();

    // Small pictures: a level's time goes on cutting them, pixel by pixel, and the reading does not
    // depend on their size. 16 x 17 still yields more 1-pixel tiles than the 256 a cell can name.
    pictures = new MemoryDatafile();
    pictures->addBitmap(patterned(8, 4, 1));
    pictures->addBitmap(patterned(4, 4, 2));
    pictures->addBitmap(patterned(16, 17, 3));
    pictures->addData();
    worldPictures = new MemoryDatafile();
    worldPictures->addBitmap(patterned(64, 32, 1));
    worldPictures->addBitmap(patterned(16, 16, 2));

    // fuzz/run.sh gives each target a directory of its own; without one a temporary one is made and removed.
    const char* given = getenv("SKIFF_FUZZ_WORK");
    if (given) {
        workDirectory = given;
        mkdir(given, 0700);
    } else {
        ownDirectory = new TempDir();
        if (ownDirectory->path().empty())
            abort();
        workDirectory = ownDirectory->path();
        atexit(removeWorkDirectory);
    }
    if (chdir(workDirectory.c_str()) != 0 || (mkdir("bmp", 0700) != 0 && errno != EEXIST))
        abort();
    savePicture(DataPaths::Alien, 16, 16, 4);
    // Two frames each, so that an explosion ends within the few steps the alien target flies.
    savePicture(DataPaths::Explosions[0], 32, 64, 5);
    savePicture(DataPaths::Explosions[1], 24, 48, 6);
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

std::string FuzzWorld::scratchFile(const char* suffix, const uint8_t* data, size_t size)
{
    const std::string path = workDirectory + "/input" + suffix;
    FILE* file = fopen(path.c_str(), "wb");
    if (!file || (size > 0 && fwrite(data, 1, size, file) != size))
        abort();
    fclose(file);
    return path;
}

Game* FuzzWorld::game()
{
    if (!world) {
        world = new Game();
        world->renderer = sharedRenderer;
        world->level = new Level(sharedRenderer);
        std::istringstream description(worldLevel());
        if (world->level->readDescription(description, worldPictures->get()) != 0)
            abort();
        world->createSprites();
        world->lives = StartingLives;
        keepMoment();
    }
    return world;
}

void FuzzWorld::resetGame()
{
    deleteAll(world->aliens);
    deleteAll(world->alienPrototypes);
    deleteAll(world->playerShots);
    deleteAll(world->enemyShots);
    moveTo(0);
    world->lives = StartingLives;
    world->pendingTicks = 0;
    world->stepsLeft = 0;
    world->lastFrameTicks = 0;
    world->elapsedTicks = 0;
    world->framesCounted = 0;
    world->frameRateMark = 0;
    world->frameRateText[0] = '\0';
}

int FuzzWorld::keepMoment()
{
    Moment moment = {new Player(*world->player), new Explosion(*world->player->explosion), {}, world->ticks};
    for (const Tileset* tileset : world->level->tilesets) {
        moment.scroll.push_back(tileset->scrollX);
        moment.scroll.push_back(tileset->scrollY);
    }
    moments.push_back(moment);
    return static_cast<int>(moments.size()) - 1;
}

void FuzzWorld::moveTo(int index)
{
    const Moment& moment = moments[index];
    Explosion* explosion = world->player->explosion;
    *world->player = *moment.player;
    *explosion = *moment.explosion;
    for (size_t i = 0; i < world->level->tilesets.size(); ++i) {
        world->level->tilesets[i]->scrollX = moment.scroll[2 * i];
        world->level->tilesets[i]->scrollY = moment.scroll[2 * i + 1];
    }
    world->ticks = moment.ticks;
}
