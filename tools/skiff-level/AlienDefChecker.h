#ifndef SKIFF_LEVEL_TOOL_ALIENDEFCHECKER_H
#define SKIFF_LEVEL_TOOL_ALIENDEFCHECKER_H

#include <cstdint>
#include <string>
#include <vector>

#include "CheckedAlien.h"
#include "TextChecker.h"

class Game;

// Reads an aliens.def with the game's own AlienDefReader into a game, as its diagnostics
// sink, and turns what the reader and the game report into compiler-style diagnostics.
class AlienDefChecker : public TextChecker {
public:
    AlienDefChecker(const std::string& fileName, Diagnostics* diagnostics);
    virtual ~AlienDefChecker();

    // Reads the text into game, which makes the prototypes and aliens; fills prototypes and
    // placements with what the game keeps, in the order of game's alienPrototypes and aliens.
    void check(const std::string& text, Game& game);
    void report(const Report& report) override;

    std::vector<CheckedPrototype> prototypes;
    std::vector<CheckedPlacement> placements;

private:
    void missingNumber(const Report& report);
    void refusedPlacement(const Report& report);
    void endOfPrototypes();

    int64_t prototypeCount;
    int64_t placementCount;
    bool prototypesRead;  // the prototype section was read to its end
    int outside;          // placements refused for their position
};

#endif
