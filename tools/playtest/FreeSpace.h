#ifndef SKIFF_TOOLS_PLAYTEST_FREESPACE_H
#define SKIFF_TOOLS_PLAYTEST_FREESPACE_H

#include <cstdint>
#include <vector>

class Level;
class Sprite;

// Every top-left position on the main tileset where a sprite fits with each of its frames,
// found with the game's own terrain test.
class FreeSpace {
public:
    // Probes the whole map for model; the level must be loaded.
    FreeSpace(const Level& level, const Sprite& model);
    virtual ~FreeSpace();

    // Whether the sprite fits at (x, y) whatever frame it shows; false off the map.
    bool fits(int x, int y) const;

    int columns;  // top-left x from 0 to columns - 1 keeps the sprite on the map
    int rows;     // likewise for y

private:
    std::vector<uint8_t> free;  // column-major: free[x * rows + y]
};

#endif
