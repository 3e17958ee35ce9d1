#ifndef SKIFF_TOOLS_PLAYTEST_PLAYREPORT_H
#define SKIFF_TOOLS_PLAYTEST_PLAYREPORT_H

#include <cstdio>
#include <vector>

// What one playthrough came to.
class PlayReport {
public:
    enum Cause { ByTerrain, ByAlien, Unexplained };
    // Shot, crashed into the terrain, into the ship (taking it along), gone off the screen, or still
    // in the game when it ended.
    enum Fate { Shot, Crashed, Rammed, Gone, Remaining, FateCount };

    struct Death {
        int step;
        double x;
        double y;
        Cause cause;
    };

    // Where the ship was at a step, for pictures of the flight.
    struct Trace {
        int x;
        int y;
        bool flying;
    };

    // What became of one placed alien, and where.
    struct AlienFate {
        int placedX;
        int placedY;
        Fate fate;
        int step;
        int x;
        int y;
        int closest;  // nearest Manhattan distance to the flying ship while on screen; -1: never
    };

    PlayReport();
    virtual ~PlayReport();

    // Lives lost: ships destroyed.
    int livesLost() const { return (int)deaths.size(); }
    int deathsBy(Cause cause) const;
    // Adds one alien to the figure of its fate.
    void count(Fate fate) { ++aliens[fate]; }
    // Prints the figures, one per line, each death with its step, place and cause.
    void print(FILE* out) const;
    // Prints every placed alien's fate, in file order.
    void printFates(FILE* out) const;

    int steps;
    bool endReached;
    int aliensPlaced;
    int aliens[FateCount];  // how many came to each fate
    std::vector<Death> deaths;
    std::vector<Trace> trace;
    std::vector<AlienFate> fates;
};

#endif
