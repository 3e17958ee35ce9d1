#ifndef SKIFF_BENCH_SHIPPEDDATA_H
#define SKIFF_BENCH_SHIPPEDDATA_H

#include <benchmark/benchmark.h>

#include <string>

class Level;

// Where the benchmarks find the shipped data tree.
class ShippedData {
public:
    // The source tree's data/ directory, where the shipped level lies.
    static std::string directory();
    // Whether the shipped level's description and pictures are there; when not, the benchmark is skipped.
    static bool present(benchmark::State& state);
    // Whether the shipped level loads into level, read from within directory(); when not, the benchmark
    // is skipped.
    static bool load(benchmark::State& state, Level& level);
};

#endif
