#ifndef SKIFF_BENCH_WORSTMAPS_H
#define SKIFF_BENCH_WORSTMAPS_H

#include <string>
#include <vector>

class TempDir;

// The costliest files the level tool may be handed: maps and level directories at or just past each of
// its budgets, for the test that measures its memory and the benchmark that times it.
namespace WorstMaps {

struct Case {
    std::string name;
    std::string command;  // "import" or "check"
    std::string path;     // the map or the level directory
    int status;           // what the tool must end with
};

enum { Count = 11 };

// Writes the Count cases into dir, maps/ and levels/ below it.
std::vector<Case> write(const TempDir& dir);

}

#endif
