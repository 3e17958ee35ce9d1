#ifndef SKIFF_FUZZ_FUZZWORLD_H
#define SKIFF_FUZZ_FUZZWORLD_H

#include <cstddef>
#include <cstdint>
#include <string>

struct DATAFILE;
class Game;
class Renderer;

// What the fuzz targets share: Allegro without a display, the recording renderer,
// a small datafile of pictures made in memory and a game world built in code. A target
// that defines no LLVMFuzzerInitialize of its own starts with initialize().
class FuzzWorld {
public:
    // Once per process: Allegro, 32-bit colour, and a working directory holding
    // bmp/alien.bmp, bmp/boom.bmp, bmp/boom2.bmp, bmp/player.bmp and bmp/shoot.bmp.
    static void initialize();
    // Three bitmaps (8 x 4, 4 x 4, 16 x 17), one object that is not a bitmap, then DAT_END.
    static const DATAFILE* datafile();
    static Renderer* renderer();
    // A level of two layers, the shot and explosion prototypes and a waiting player, as the game's set-up
    // makes them. Built on the first call, then the same game for the whole process; callers do not delete it.
    static Game* game();
    // Puts that game back as it was first made: no alien prototype, alien or shot, five lives, and the
    // ship, the scroll and the counters where they started.
    static void resetGame();
    // Keeps the ship with its explosion, the scroll and the tick count of that game as they are now;
    // returns the number moveTo takes.
    static int keepMoment();
    // Puts the ship, its explosion, the scroll and the tick count back as they were at a kept moment;
    // aliens, shots and lives stay as they are.
    static void moveTo(int moment);
    // Writes size bytes of data to a file named with suffix in the working directory, for targets
    // that need their input on disk; returns its path.
    static std::string scratchFile(const char* suffix, const uint8_t* data, size_t size);
};

#endif
