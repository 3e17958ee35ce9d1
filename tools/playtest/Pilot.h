#ifndef SKIFF_TOOLS_PLAYTEST_PILOT_H
#define SKIFF_TOOLS_PLAYTEST_PILOT_H

class Game;

// Whoever holds the keys during a playtest. The plain pilot never steers: the ship flies
// on at the height it entered, firing all the time or never.
class Pilot {
public:
    explicit Pilot(bool fire = false);
    virtual ~Pilot();

    // Sets Allegro's key array for the coming logic step; step counts from 0.
    virtual void steer(const Game& game, int step);
    // Lets go of the arrow keys and the fire button.
    static void releaseKeys();

private:
    bool fire;
};

#endif
