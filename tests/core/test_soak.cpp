#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <malloc.h>
#include <random>
#include <string>

#include "core/DataPaths.h"
#include "core/Game.h"
#include "core/TestWorld.h"
#include "headless/RenderLog.h"
#include "render/Renderer.h"

// A long game played by random key presses: new games start whenever the lives
// run out. Nothing may crash, the sprites alive at any time stay few, and the
// heap is as large at the start of every game as at the start of the second.
// SKIFF_SOAK_STEPS sets the number of logic steps (100 make a second of game time).
namespace {

#if defined(__SANITIZE_ADDRESS__)
const bool HeapIsMeasurable = false;  // the sanitizer's allocator keeps its own books; its leak check stands in
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

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

const int SteeringKeys[] = {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_SPACE};

}

TEST(Soak, RandomPlayOverManyGamesKeepsSpritesAndMemoryFlat)
{
    WorkingDirectory inside(std::string(SKIFF_SOURCE_DIR) + "/data");
    HeldKeys keys;
    std::mt19937 random(20240601);
    RenderLog::clear();
    Renderer renderer;

    const long steps = soakSteps();
    long stepsRun = 0;
    int games = 0;
    size_t baselineHeap = 0;
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

            ASSERT_LE(game->playerShots.size(), MaxShots) << "step " << stepsRun;
            ASSERT_LE(game->aliens.size(), placedAliens) << "step " << stepsRun;
            ASSERT_TRUE(game->enemyShots.empty());
            ASSERT_GE(game->lives, -1);
        }
        delete game;
    }
    EXPECT_GE(stepsRun, steps);
    EXPECT_TRUE(RenderLog::alerts.empty());
}
