#include <allegro.h>
#include <alleggl.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "ShippedData.h"
#include "core/DataPaths.h"
#include "core/Game.h"
#include "headless/PageFaults.h"
#include "headless/WorkingDirectory.h"
#include "level/Level.h"
#include "render/Renderer.h"

namespace {

// A small window of our own; the player's configuration is neither read nor written.
const char WindowConfig[] =
    "[engineparams]\n"
    "screenwidth = 320\n"
    "screenheight = 240\n"
    "fullScreen = 0\n"
    "textureFiltering = 1\n";

// Steps run before measuring, so that the ship has flown in and the map has scrolled a little.
const int WarmUpSteps = 300;

bool displayOpen = false;

// The shipped world on the GL renderer, set up once: a display can be opened only once. Null when it
// could not be; the benchmark is skipped when the level is missing or fails even without a display.
Game* shippedGame(benchmark::State& state)
{
    static Game* game = nullptr;
    static bool tried = false;
    if (tried)
        return game;
    tried = true;
    // A level that fails makes the game show a modal alert, which would wait for a key
    // for ever: try it first without a renderer, which shows nothing.
    Level trial(nullptr);
    if (!ShippedData::load(state, trial))
        return nullptr;
    WorkingDirectory inData(ShippedData::directory());
    Game* made = new Game();
    made->renderer = new Renderer();
    made->renderer->setupDisplay();
    if (made->loadWorld(DataPaths::Level) != Game::SetupReady)
        return nullptr;
    made->elapsedTicks = 1;
    for (int step = 0; step < WarmUpSteps; ++step) {
        made->ticks.store(step);
        made->logicStep();
    }
    game = made;
    return game;
}

void BM_DrawFrame(benchmark::State& state)
{
    if (!displayOpen) {
        state.SkipWithError("no X display");
        return;
    }
    Game* game = shippedGame(state);
    if (!game) {
        if (!state.error_occurred())
            state.SkipWithError("data/level0 failed to load");
        return;
    }
    long faultsBefore = minorPageFaults();
    for (auto _ : state) {
        game->runFrame();
        glFinish();
    }
    // Pages the frames took from the kernel anew: memory given back after a frame and taken again.
    state.counters["faults"] = benchmark::Counter(static_cast<double>(minorPageFaults() - faultsBefore),
                                                  benchmark::Counter::kAvgIterations);
}

}

BENCHMARK(BM_DrawFrame)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // Without an X display Allegro's system driver is missing and opening a window would crash.
    if (getenv("DISPLAY") && allegro_init() == 0) {
        set_config_data(WindowConfig, static_cast<int>(strlen(WindowConfig)));
        displayOpen = true;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
