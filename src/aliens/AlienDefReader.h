#ifndef SKIFF_ALIENS_ALIENDEFREADER_H
#define SKIFF_ALIENS_ALIENDEFREADER_H

#include <iosfwd>

class Game;
class ReadDiagnostics;

// Reads an alien file ("ALIENPROTOS" ... "ALIENDEF" ...) into the game's
// prototypes and placements. Reading stops silently at the first thing that does not fit.
class AlienDefReader {
public:
    // Reads levelDirectory + "aliens.def"; a missing file places nothing. Anything but a regular file of
    // at most LevelFormat::MaxTextBytes is refused unread (see refused).
    AlienDefReader(Game* game, const char* levelDirectory);
    // Reads in; a diagnostics sink, when given, is told what was read and dropped, and why.
    AlienDefReader(Game* game, std::istream& in, ReadDiagnostics* diagnostics = nullptr);
    virtual ~AlienDefReader();

    // Whether the file was there but refused: a FIFO, a device, a directory or one too large.
    bool refused() const;

private:
    void read(std::istream& in, ReadDiagnostics* diagnostics);

    Game* game;
    bool wasRefused;
};

#endif
