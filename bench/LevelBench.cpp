#include <allegro.h>
#include <benchmark/benchmark.h>

#include <vector>

#include "BenchWorld.h"
#include "ShippedData.h"
#include "core/DataPaths.h"
#include "headless/Probe.h"
#include "headless/ScratchFiles.h"
#include "headless/WorkingDirectory.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "render/Renderer.h"

namespace {

void measureLoad(benchmark::State& state, const char* directory)
{
    Renderer renderer;
    for (auto _ : state) {
        Level* level = new Level(&renderer);
        int result = level->load(directory);
        state.PauseTiming();
        bool loaded = result == 0 && level->mainTileset;
        if (loaded)
            state.counters["cells"] = static_cast<double>(level->mainTileset->tiles.size());
        delete level;
        state.ResumeTiming();
        if (!loaded) {
            state.SkipWithError("the level failed to load");
            break;
        }
    }
}

void BM_LevelLoad_level0(benchmark::State& state)
{
    if (!ShippedData::present(state))
        return;
    WorkingDirectory inData(ShippedData::directory());
    measureLoad(state, DataPaths::Level);
}

void BM_LevelLoad_wide10000(benchmark::State& state)
{
    BenchWorld world;
    if (!world.writeLevel("wide", 10000, {})) {
        state.SkipWithError("could not write the generated level");
        return;
    }
    const std::string directory = world.path() + "/wide/";
    measureLoad(state, directory.c_str());
}

void BM_HitsTerrain(benchmark::State& state)
{
    Renderer renderer;
    Level level(&renderer);
    if (!ShippedData::load(state, level))
        return;

    // A round 16 x 16 sprite, like an alien.
    BITMAP* picture = makeBitmap(16, 16, magenta());
    circlefill(picture, 8, 8, 7, opaqueWhite());
    Probe probe;
    probe.addFrame(picture);
    destroy_bitmap(picture);

    // Every place on a fine lattice over the whole grid, at fractional positions as sprites have.
    const Tileset& main = *level.mainTileset;
    std::vector<std::pair<double, double>> places;
    for (int y = 0; y + 16 <= main.pixelHeight(); y += 3) {
        for (int x = 0; x + 16 <= main.pixelWidth(); x += 5)
            places.push_back(std::make_pair(x + 0.4, y + 0.6));
    }
    if (places.empty()) {
        state.SkipWithError("the main tileset is smaller than the sprite");
        return;
    }

    size_t next = 0;
    long long hits = 0;
    for (auto _ : state) {
        probe.x = places[next].first;
        probe.y = places[next].second;
        bool hit = probe.hitsTerrain(level);
        benchmark::DoNotOptimize(hit);
        hits += hit;
        if (++next == places.size())
            next = 0;
    }
    state.counters["places"] = static_cast<double>(places.size());
    state.counters["hit_share"] = state.iterations() ? static_cast<double>(hits) / state.iterations() : 0.0;
}

}

BENCHMARK(BM_HitsTerrain);
BENCHMARK(BM_LevelLoad_level0)->Name("BM_LevelLoad/level0")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LevelLoad_wide10000)->Name("BM_LevelLoad/wide10000")->Unit(benchmark::kMillisecond);
