#ifndef SKIFF_LEVEL_TOOL_LEVELDIRECTORYCHECK_H
#define SKIFF_LEVEL_TOOL_LEVELDIRECTORYCHECK_H

#include <cstdio>
#include <string>

#include "AlienDefChecker.h"
#include "LevelDefChecker.h"

class Diagnostics;
class Level;
class Renderer;

// "skiff-level check": the three files of a level directory checked together, read by
// the game's own Level and alien reader with the checkers as their diagnostics sinks.
class LevelDirectoryCheck {
public:
    enum { Passed = 0, Failed = 1 };

    // renderer may be null; the diagnostics are collected, not printed.
    LevelDirectoryCheck(Renderer* renderer, Diagnostics* diagnostics);
    virtual ~LevelDirectoryCheck();

    // Checks directory's level.def, level.dat and aliens.def; alien pictures are looked for
    // in dataRoot, the game's working directory. Passed when no error was found, Failed when one was.
    int run(const std::string& directory, const std::string& dataRoot);
    // Layers with their sizes and parallax factors, scroll time, aliens and the counts of problems.
    void printSummary(FILE* out) const;

    LevelDefChecker levelChecker;
    AlienDefChecker alienChecker;
    bool levelLoaded;   // whether the game loads the level
    int aliensPlaced;   // aliens the game places

private:
    // The aliens read into a game; placements are tested against level when the game loads one.
    void checkAliens(const std::string& text, const std::string& dataRoot, Level* level);

    Renderer* renderer;
    Diagnostics* diagnostics;
    std::string levelFile;
    std::string aliensFile;
};

#endif
