#ifndef SKIFF_TOOLS_PLAYTEST_PROBE_H
#define SKIFF_TOOLS_PLAYTEST_PROBE_H

#include "sprites/Sprite.h"

// A sprite that is never shown: it borrows another sprite's frames so that the game's own
// terrain and overlap tests can be asked about places that sprite has not been yet.
class Probe : public Sprite {
public:
    // Shares the frames, level and renderer of model, which must outlive the probe.
    explicit Probe(const Sprite& model);

    void draw() override;
    int update(int ticks) override;

    // Whether frame number frame of the model, placed at (x, y), overlaps solid terrain.
    bool hitsAt(const Level& level, int frame, int x, int y);
};

#endif
