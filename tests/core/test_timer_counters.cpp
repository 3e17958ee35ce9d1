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

const int32_t Rounds = 4;
const int32_t TicksPerRound = 50000;
const int32_t TickCount = Rounds * TicksPerRound;

// Calls the callback TicksPerRound times a round; after each round it waits until
// the main side has seen the round end. The main side works while ticks come and
// at every round's end, however the threads are scheduled.
class LockstepTimer {
public:
    explicit LockstepTimer(Game* game) : roundsCounted(0), roundsSeen(0), thread(&LockstepTimer::run, this, game) {}
    ~LockstepTimer() { thread.join(); }

    // The rounds whose ticks have all been counted.
    int32_t counted() const { return roundsCounted.load(); }
    // Lets the next round start once the main side is done with this many.
    void seen(int32_t rounds) { roundsSeen.store(rounds); }

private:
    void run(Game* game)
    {
        for (int32_t round = 1; round <= Rounds; ++round) {
            for (int32_t i = 0; i < TicksPerRound; ++i)
                Game::onTimerTick(game);
            roundsCounted.store(round);
            while (roundsSeen.load() < round)
                std::this_thread::yield();
        }
    }

    std::atomic<int32_t> roundsCounted;
    std::atomic<int32_t> roundsSeen;
    std::thread thread;
};

}

TEST(TimerCounters, NoTickIsLostBetweenTheCallbackAndTheLoopTakingThem)
{
    Game game;
    int64_t taken = 0;
    {
        LockstepTimer timer(&game);
        for (int32_t seen = 0; seen < Rounds;) {
            const int32_t counted = timer.counted();
            taken += game.pendingTicks.exchange(0);
            if (counted > seen) {
                EXPECT_EQ(int64_t(counted) * TicksPerRound, taken) << "after round " << counted;
                seen = counted;
                timer.seen(seen);
            }
        }
    }
    EXPECT_EQ(TickCount, game.ticks.load());
    EXPECT_EQ(TickCount, taken);
}

TEST(TimerCounters, FramesRunWhileTheCallbackCountsAndTakeEveryTick)
{
    RenderLog::clear();
    Renderer renderer;
    Game game;
    game.renderer = &renderer;
    game.lives = 5;
    game.startLoop();
    int64_t given = 0;
    {
        LockstepTimer timer(&game);
        for (int32_t seen = 0; seen < Rounds;) {
            const int32_t counted = timer.counted();
            game.runFrame();
            given += game.elapsedTicks;
            RenderLog::quads.clear();
            RenderLog::texts.clear();
            RenderLog::lives.clear();
            if (counted > seen) {
                // The steps so far were given every tick counted so far.
                EXPECT_EQ(int64_t(counted) * TicksPerRound, given) << "after round " << counted;
                EXPECT_EQ(0, game.pendingTicks.load());
                seen = counted;
                timer.seen(seen);
            }
        }
    }
    EXPECT_EQ(TickCount, game.ticks.load());
    EXPECT_EQ(0, game.pendingTicks.load());
    EXPECT_EQ(TickCount, given);
    RenderLog::clear();
}
