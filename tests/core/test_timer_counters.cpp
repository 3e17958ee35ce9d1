#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>

#include "core/Game.h"
#include "headless/RenderLog.h"
#include "render/Renderer.h"
#include "sprites/Sprite.h"

// The timer callback runs on a thread of its own while the main loop takes the
// pending ticks. Allegro's timer cannot be installed without a display, so a
// thread of ours calls the callback as Allegro's would. Built with
// ThreadSanitizer (scripts/sanitize.sh), this also shows that the two threads
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

// Counts the logic steps it is updated in.
class StepCounter : public Sprite {
public:
    explicit StepCounter(int64_t* steps) : steps(steps) {}
    void draw() override {}
    int update(int) override
    {
        ++*steps;
        return 0;
    }

private:
    int64_t* steps;
};

}

TEST(TimerCounters, EveryTickTheCallbackCountsIsTakenByAFrameAndRunsOneStep)
{
    RenderLog::clear();
    Renderer renderer;
    Game game;
    game.renderer = &renderer;
    game.lives = 5;
    int64_t steps = 0;
    game.enemyShots.push_back(new StepCounter(&steps));
    game.startLoop();
    int64_t given = 0;
    {
        LockstepTimer timer(&game);
        for (int32_t seen = 0; seen < Rounds;) {
            const int32_t counted = timer.counted();
            game.runFrame();
            given += game.elapsedTicks;
            RenderLog::clear();
            if (counted > seen) {
                EXPECT_EQ(int64_t(counted) * TicksPerRound, steps) << "after round " << counted;
                EXPECT_EQ(int64_t(counted) * TicksPerRound, given) << "after round " << counted;
                seen = counted;
                timer.seen(seen);
            }
        }
    }
    EXPECT_EQ(TickCount, game.ticks.load());
    EXPECT_EQ(TickCount, steps);
    EXPECT_EQ(TickCount, given);
}
