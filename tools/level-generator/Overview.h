#ifndef SKIFF_TOOLS_LEVEL_OVERVIEW_H
#define SKIFF_TOOLS_LEVEL_OVERVIEW_H

#include <vector>

class TileLayer;
struct BITMAP;

// A picture of the whole built main layer for looking at: four strips over a plain backdrop,
// with the route a ship can fly drawn in and every tenth column numbered.
class Overview {
public:
    // route: a ship top y for every ship x (see Passage::route), for a ship shipHeight pixels
    // high. The caller destroys the picture.
    static BITMAP* draw(const TileLayer& main, const std::vector<int>& route, int shipHeight);
};

#endif
