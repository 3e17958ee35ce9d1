#ifndef SKIFF_BENCH_SHIPPEDDATA_H
#define SKIFF_BENCH_SHIPPEDDATA_H

#include <string>

// Where the benchmarks find the shipped data tree.
class ShippedData {
public:
    // The source tree's data/ directory, where the shipped level lies.
    static std::string directory();
    // Whether the shipped level's description and pictures are present under dataDirectory.
    static bool levelPresent(const std::string& dataDirectory);
};

#endif
