#ifndef SKIFF_TOOLS_PLAYTEST_AUTOPILOT_H
#define SKIFF_TOOLS_PLAYTEST_AUTOPILOT_H

#include <cstdint>
#include <map>
#include <vector>

#include "Pilot.h"

class Alien;
class FlightPlan;
class FreeSpace;
class HomingAlien;
class Player;
class Probe;

// A good player: always fires, follows the flight plan through the caves, lines up with
// the nearest alien ahead, and when an alien comes close tries each move a few dozen steps
// ahead (with the aliens' own steering) and takes the one that stays clear longest.
class Autopilot : public Pilot {
public:
    // room and plan must outlive the pilot; they describe the map the pilot will fly.
    Autopilot(const FreeSpace& room, const FlightPlan& plan);
    ~Autopilot() override;
    Autopilot(const Autopilot&) = delete;
    Autopilot& operator=(const Autopilot&) = delete;

    // Makes this pilot a good but human player: aliens are noticed late and seen a few
    // steps behind time, the aim is off by a few pixels, attention lapses now and then.
    // seed picks the draws; the same seed plays the same game. Each alien's draws depend
    // only on the seed and where it waited, and each lapse on the seed and the step, so
    // that moving one alien leaves the player's luck with the others as it was.
    void makeHuman(unsigned seed);

    void steer(const Game& game, int step) override;

private:
    // What the pilot knows about one alien: when it was first seen on screen and where it
    // has been lately, and how the human variant misjudges it.
    struct Sighting {
        int firstSeen;
        int noticeDelay;
        int aimOffset;
        std::vector<int> fixedX, fixedY, heading;  // ring of the last positions
        int newest;
        int count;
    };
    // One alien in a rehearsal.
    struct Rehearsed {
        HomingAlien* body;
        bool alive;
    };

    void observe(const Game& game, int step);
    // The alien as the pilot perceives it now; false when not noticed yet.
    bool perceive(const Alien* alien, int step, int& fixedX, int& fixedY, int& heading) const;
    // The height the flight plan wants next from (x, y), drawn toward aimY by aimWeight per
    // pixel; from a place the plan cannot fly, the nearest good height.
    int plannedHeight(int x, int y, int aimY, double aimWeight) const;
    // Whether the plan stays nearly level over the next columns, so that speeding up leaves
    // the ship time enough to climb.
    bool flatAhead(int x, int y) const;
    // Earliest step (1 to horizon) at which the ship would be hit doing vertical/horizontal
    // for hold steps and then following the plan; 0 when it stays clear.
    int rehearse(const Game& game, int step, int vertical, int horizontal, int hold);
    // The probes and enough stand-in aliens for the current threats.
    void ensurePool(const Game& game);
    // A number from low to high picked by the seed and two keys.
    int draw(int first, int second, int low, int high) const;

    const FreeSpace& room;
    const FlightPlan& plan;
    bool human;
    uint64_t seed;
    int perceptionLag;
    int lapseUntil;
    std::map<const Alien*, Sighting> sightings;
    std::vector<const Alien*> threats;
    std::vector<HomingAlien*> pool;
    std::vector<Rehearsed> rehearsed;
    Player* shadow;      // stands in for the ship as the rehearsed aliens' target
    Probe* shipProbe;
    Probe* shotProbe;
};

#endif
