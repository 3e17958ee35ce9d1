#ifndef SKIFF_TOOLS_LEVEL_PREVIEW_H
#define SKIFF_TOOLS_LEVEL_PREVIEW_H

#include <vector>

class TileLayer;
struct BITMAP;

// Pictures of the built level for looking at: screens as the game composes them, and
// the whole main layer with the route a ship can fly.
class Preview {
public:
    // route: a ship top y for every ship x (see Passage::route).
    Preview(const TileLayer& farLayer, const TileLayer& nearLayer, const TileLayer& main, const std::vector<int>& route);

    // count screens with the main layer's scrollX spread evenly from `from` to `to`,
    // three to a row, the ship drawn where the route puts it. The caller destroys it.
    BITMAP* screens(int count, double from, double to) const;
    // The main layer over a plain backdrop in four strips, the route drawn in.
    BITMAP* overview() const;

private:
    void drawScreen(BITMAP* target, int atX, int atY, double scrollX) const;

    const TileLayer& farLayer;
    const TileLayer& nearLayer;
    const TileLayer& main;
    const std::vector<int>& route;
};

#endif
