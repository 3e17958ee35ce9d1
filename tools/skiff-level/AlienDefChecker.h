#ifndef SKIFF_LEVEL_TOOL_ALIENDEFCHECKER_H
#define SKIFF_LEVEL_TOOL_ALIENDEFCHECKER_H

#include <cstdint>
#include <string>

#include "TextChecker.h"

class Game;
class Level;

// Reads an aliens.def with the game's own AlienDefReader into a game, as its diagnostics
// sink, and turns what the reader and the game report into compiler-style diagnostics.
class AlienDefChecker : public TextChecker {
public:
    AlienDefChecker(const std::string& fileName, Diagnostics* diagnostics);
    virtual ~AlienDefChecker();

    // Reads the text into game, which makes the prototypes and aliens with its pictures looked for
    // in the working directory, called dataRoot in the diagnostics. Given the level the game
    // loaded, each prototype the game builds and each alien it places is checked against it as it comes.
    void check(const std::string& text, Game& game, const Level* level, const std::string& dataRoot);
    void report(const Report& report) override;

private:
    void missingNumber(const Report& report);
    void refusedPlacement(const Report& report);
    void builtPrototype(const Report& report);
    void placedAlien(const Report& report);

    Game* game;
    const Level* level;
    std::string dataRoot;
    std::string firstPicture;     // of the first prototype built, which every alien copies
    int64_t prototypeCount;
    int64_t placementCount;
    int outside;                  // placements refused for their position
    int misplaced;                // problems of placed aliens found
    int64_t prototypesSkipped;    // past the game's limits
    int64_t placementsSkipped;
};

#endif
