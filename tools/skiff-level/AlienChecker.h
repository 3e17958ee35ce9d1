#ifndef SKIFF_LEVEL_TOOL_ALIENCHECKER_H
#define SKIFF_LEVEL_TOOL_ALIENCHECKER_H

#include <string>
#include <vector>

#include "CheckedAlien.h"

class Diagnostics;
class TokenScanner;

// Reads an aliens.def the way AlienDefReader and the game's addAlienPrototype and
// addAlien do, and reports with positions what the game skips and why.
class AlienChecker {
public:
    enum { MaxPictureName = 127, MinCoordinate = -32768, MaxCoordinate = 32767, MaxReported = 10 };

    AlienChecker(const std::string& fileName, Diagnostics* diagnostics);
    virtual ~AlienChecker();

    // Checks the text; fills prototypes and placements with what the game keeps.
    void check(const std::string& text);

    std::vector<CheckedPrototype> prototypes;
    std::vector<CheckedPlacement> placements;

private:
    void numberFailure(TokenScanner& in, const std::string& what, const std::string& tooFew);

    std::string fileName;
    Diagnostics* diagnostics;
};

#endif
