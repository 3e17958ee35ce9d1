#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>

#include "core/Game.h"
#include "headless/RenderLog.h"
#include "render/Renderer.h"

// The timer callback runs on a thread of its own while the main loop takes the
// pending ticks. Allegro's timer cannot be installed without a display, so a
// thread of ours calls the callback as Allegro's would. Built with
// ThreadSanitizer (scripts/sanitize.sh), these also show that the two threads
// share nothing but the two counters.
namespace {

const int32_t TickCount = 200000;

}

TEST(TimerCounters, NoTickIsLostBetweenTheCallbackAndTheLoopTakingThem)
{
    Game game;
    std::atomic<bool> done(false);
    std::thread timer([&game, &done]() {
        for (int32_t i = 0; i < TickCount; ++i)
            Game::onTimerTick(&game);
        done.store(true);
    });
    int64_t taken = 0;
    int64_t takes = 0;
    while (!done.load()) {
        taken += game.pendingTicks.exchange(0);
        ++takes;
    }
    timer.join();
    taken += game.pendingTicks.exchange(0);
    EXPECT_EQ(TickCount, game.ticks.load());
    EXPECT_EQ(TickCount, taken);
    EXPECT_GT(takes, 1);
}

TEST(TimerCounters, FramesRunWhileTheCallbackCountsAndTakeEveryTick)
{
    RenderLog::clear();
    Renderer renderer;
    Game game;
    game.renderer = &renderer;
    game.lives = 5;
    game.startLoop();
    std::atomic<bool> done(false);
    std::thread timer([&game, &done]() {
        for (int32_t i = 0; i < TickCount; ++i)
            Game::onTimerTick(&game);
        done.store(true);
    });
    int frames = 0;
    while (!done.load()) {
        game.runFrame();
        RenderLog::quads.clear();
        RenderLog::texts.clear();
        RenderLog::lives.clear();
        ++frames;
    }
    timer.join();
    game.runFrame();
    // The last frame read every tick counted: its elapsedTicks close the sum.
    EXPECT_EQ(TickCount, game.ticks.load());
    EXPECT_EQ(0, game.pendingTicks.load());
    EXPECT_EQ(0, game.stepsLeft);
    EXPECT_EQ(TickCount, game.lastFrameTicks);
    EXPECT_GT(frames, 0);
    RenderLog::clear();
}
