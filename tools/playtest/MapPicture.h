#ifndef SKIFF_TOOLS_PLAYTEST_MAPPICTURE_H
#define SKIFF_TOOLS_PLAYTEST_MAPPICTURE_H

class Game;
class PlayReport;

// A picture of the whole main map for tuning the alien placements: solid terrain in grey,
// where an alien fits in dark blue, the placements as red squares, the ship's flight (green flying, yellow protected)
// and its deaths as white crosses.
class MapPicture {
public:
    // game must be loaded; its aliens are read as placed, so call this before playing or
    // give it a game loaded afresh.
    MapPicture(const Game& game, const PlayReport* report);
    virtual ~MapPicture();

    // Writes a BMP (or PCX) picture; 0 on success, -1 otherwise.
    int save(const char* fileName) const;

private:
    const Game& game;
    const PlayReport* report;
};

#endif
