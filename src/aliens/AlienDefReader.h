#ifndef SKIFF_ALIENS_ALIENDEFREADER_H
#define SKIFF_ALIENS_ALIENDEFREADER_H

#include <iosfwd>

class Game;

// Reads an alien file ("ALIENPROTOS" ... "ALIENDEF" ...) into the game's
// prototypes and placements. Reading stops silently at the first thing that does not fit.
class AlienDefReader {
public:
    // Reads levelDirectory + "aliens.def"; a missing file places nothing.
    AlienDefReader(Game* game, const char* levelDirectory);
    AlienDefReader(Game* game, std::istream& in);
    virtual ~AlienDefReader();

private:
    void read(std::istream& in);

    Game* game;
};

#endif
