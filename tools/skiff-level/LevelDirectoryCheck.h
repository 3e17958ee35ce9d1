#ifndef SKIFF_LEVEL_TOOL_LEVELDIRECTORYCHECK_H
#define SKIFF_LEVEL_TOOL_LEVELDIRECTORYCHECK_H

#include <cstdio>
#include <string>

class Diagnostics;
class Level;

// "skiff-level check": the three files of a level directory checked together, read by the
// game's own Level and alien reader with the checkers as their diagnostics sinks.
class LevelDirectoryCheck {
public:
    enum { Passed = 0, Failed = 1 };

    // Alien pictures are looked for in dataRoot, the game's working directory. The level is read
    // without a renderer; the diagnostics are collected, not printed.
    LevelDirectoryCheck(const std::string& dataRoot, Diagnostics* diagnostics);
    // Deletes the level.
    virtual ~LevelDirectoryCheck();

    // Checks directory's level.def, level.dat and aliens.def. Passed when no error was found,
    // Failed when one was.
    int run(const std::string& directory);
    // The layers with their sizes and parallax factors, how long the level scrolls, the aliens and
    // the counts of the problems in counted.
    void printSummary(FILE* out, const Diagnostics& counted) const;

    Level* level;      // as the game loads it; null when the game refuses it
    int aliensPlaced;  // aliens the game places

private:
    void checkAliens(const std::string& aliensFile);
    // Fills the empty directory working as the game's working directory would be with the level
    // played: dataRoot's entries, and levelDirectory as level0. False when that cannot be done.
    bool playedFrom(const std::string& working, const std::string& levelDirectory) const;

    std::string dataRoot;

    Diagnostics* diagnostics;
};

#endif
