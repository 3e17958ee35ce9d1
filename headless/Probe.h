#ifndef SKIFF_HEADLESS_PROBE_H
#define SKIFF_HEADLESS_PROBE_H

#include "sprites/Sprite.h"

struct BITMAP;

// The smallest concrete sprite: it draws its current frame and never finishes. The game's own
// terrain and overlap tests are asked about it at places and in frames of the caller's choosing.
class Probe : public Sprite {
public:
    Probe();
    // Shares the frames, level and renderer of model, which must outlive the probe.
    explicit Probe(const Sprite& model);

    void draw() override;
    int update(int ticks) override;

    // Adds a frame of the size of picture, its mask made from the picture's opaque pixels and its
    // texture named 1; the picture stays the caller's.
    void addFrame(BITMAP* picture);
    // Whether frame number frame, placed at (x, y), overlaps solid terrain.
    bool hitsAt(const Level& level, int frame, int x, int y);
};

#endif
