#ifndef SKIFF_TOOLS_PLAYTEST_PLAYTHROUGH_H
#define SKIFF_TOOLS_PLAYTEST_PLAYTHROUGH_H

#include <cstdio>
#include <map>
#include <vector>

#include "aliens/Alien.h"
#include "sprites/Player.h"

class Game;
class Pilot;
class PlayReport;
class Probe;
class Renderer;

// One game of the real level, played in-process one logic step per timer tick, with a
// pilot at the keys and no display.
class Playthrough {
public:
    enum {
        MaxSteps = 30000,    // a safety stop; the map's end is on screen after 16,000 steps
        SettleSteps = 300,   // steps with the end on screen before the level counts as finished
        TraceEvery = 4
    };

    Playthrough();
    // Deletes the game and the renderer.
    virtual ~Playthrough();
    Playthrough(const Playthrough&) = delete;
    Playthrough& operator=(const Playthrough&) = delete;

    // Loads the level directory ("level0/", relative to the working directory) as the game's
    // set-up does. 0 when the world is ready, -1 otherwise.
    int load(const char* levelDirectory);
    // Plays until no life is left or the end of the map has been on screen for a while with
    // every alien dealt with. 0, or -1 without a loaded world.
    int play(Pilot& pilot, PlayReport& report);

    // Steps from watchFrom to watchTo (inclusive) are printed to watchOut: the ship, its keys
    // and the aliens on screen. No step is printed while watchOut is null.
    void watch(FILE* out, int from, int to);

    Renderer* renderer;
    Game* game;

private:
    // An alien as it was before a step, to tell afterwards what became of it.
    struct AlienBefore {
        Alien* alien;
        AlienState activity;
        bool exploding;
        double x;
        double y;
    };

    void printStep(int step) const;
    // Records the ship's death if the step destroyed it; true when an alien did.
    bool noteDeath(int step, PlayerState before, PlayReport& report) const;
    // Records what the step did to every alien that was not exploding before it.
    void noteAliens(int step, bool diedByAlien, PlayReport& report);
    // The map's end has been on screen long enough, with the ship flying and no alien left to fight.
    bool finished(int step, int endSince) const;

    std::vector<AlienBefore> before;
    std::map<const Alien*, int> fateOf;  // index into the report's fates
    Probe* alienProbe;
    FILE* watchOut;
    int watchFrom;
    int watchTo;
};

#endif
