#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <random>
#include <string>
#include <sys/stat.h>

#include "aliens/Alien.h"
#include "core/DataPaths.h"
#include "core/Game.h"
#include "core/TestWorld.h"
#include "headless/RenderLog.h"
#include "render/Renderer.h"
#include "sprites/Player.h"
#include "sprites/Shot.h"

// A long game played by random key presses: new games start whenever the lives
// run out. Nothing may crash, the sprites alive at any time stay few, and the
// heap is as large at the start of every game as at the start of the second.
// SKIFF_SOAK_STEPS sets the number of logic steps (100 make a second of game time).
namespace {

#if defined(__SANITIZE_ADDRESS__)
const bool HeapIsMeasurable = false;  // the sanitizer's allocator keeps its own books; its leak check stands in
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
const bool HeapIsMeasurable = false;
#else
const bool HeapIsMeasurable = true;
#endif
#else
const bool HeapIsMeasurable = true;
#endif

const long DefaultSteps = 30000;
// Shots live at most 64 steps (320 pixels at 5 a step) and one leaves every 2 steps at the fastest.
const size_t MaxShots = 40;
const size_t HeapSlack = 1024 * 1024;

long soakSteps()
{
    const char* text = getenv("SKIFF_SOAK_STEPS");
    long steps = text ? strtol(text, nullptr, 10) : DefaultSteps;
    return steps > 0 ? steps : DefaultSteps;
}

bool shippedLevelPresent(const std::string& data)
{
    struct stat info;
    return stat((data + "/level0/level.dat").c_str(), &info) == 0 && stat((data + "/level0/level.def").c_str(), &info) == 0;
}

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

const int SteeringKeys[] = {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_SPACE};

}

TEST(Soak, RandomPlayOverManyGamesKeepsSpritesAndMemoryFlat)
{
    TempDir generated;
    std::string data = std::string(SKIFF_SOURCE_DIR) + "/data";
    if (!shippedLevelPresent(data)) {
        writeSpritePictures(generated);
        std::string grid;
        for (int row = 0; row < 15; ++row)
            for (int column = 0; column < 120; ++column)
                grid += (row == 14 || (row == 0 && column % 7 == 0) || (column % 23 == 11 && row > 10)) ? "1 " : "0 ";
        writeLevelDirectory(generated, 120, 15, grid,
                            "ALIENPROTOS 1 0 bmp/alien.bmp 0 0 ALIENDEF 6 0 200 60 0 330 120 0 500 40 0 700 160 "
                            "0 900 80 0 1200 100\n");
        data = generated.path();
    }
    WorkingDirectory inside(data);
    HeldKeys keys;
    std::mt19937 random(20240601);
    RenderLog::clear();
    Renderer renderer;

    const long steps = soakSteps();
    long stepsRun = 0;
    int games = 0;
    size_t baselineHeap = 0;
    size_t maxShots = 0;
    size_t placedAliens = 0;
    while (stepsRun < steps) {
        Game* game = new Game();
        game->renderer = &renderer;
        ASSERT_EQ(Game::SetupReady, game->loadWorld(DataPaths::Level));
        ++games;
        if (games == 1)
            placedAliens = game->aliens.size();
        if (games == 2) {
            baselineHeap = heapInUse();
        } else if (games > 2 && HeapIsMeasurable) {
            ASSERT_LE(heapInUse(), baselineHeap + HeapSlack) << "game " << games;
        }

        game->startLoop();
        bool going = true;
        while (going && stepsRun < steps) {
            // Keys change now and then, so that the ship holds a course for a while.
            if (random() % 8 == 0) {
                int which = SteeringKeys[random() % 5];
                key[which] = key[which] ? 0 : 1;
            }
            if (key[KEY_UP] && key[KEY_DOWN])
                key[random() % 2 ? KEY_UP : KEY_DOWN] = 0;
            // Frames of one to three logic steps, as a slow display gives them.
            const int ticks = 1 + (int)(random() % 3);
            game->ticks.fetch_add(ticks);
            game->pendingTicks.fetch_add(ticks);
            going = game->runFrame();
            stepsRun += ticks;
            RenderLog::quads.clear();
            RenderLog::texts.clear();
            RenderLog::lives.clear();

            if (game->playerShots.size() > maxShots)
                maxShots = game->playerShots.size();
            ASSERT_LE(game->playerShots.size(), MaxShots) << "step " << stepsRun;
            ASSERT_LE(game->aliens.size(), placedAliens) << "step " << stepsRun;
            ASSERT_TRUE(game->enemyShots.empty());
            ASSERT_GE(game->lives, -1);
        }
        delete game;
    }
    EXPECT_GE(stepsRun, steps);
    EXPECT_TRUE(RenderLog::alerts.empty());
    RecordProperty("games", games);
    RecordProperty("maxShots", (int)maxShots);
}
