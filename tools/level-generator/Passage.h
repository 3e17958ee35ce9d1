#ifndef SKIFF_TOOLS_LEVEL_PASSAGE_H
#define SKIFF_TOOLS_LEVEL_PASSAGE_H

#include <vector>

// Whether a box can fly through a map from left to right: at every pixel column the box
// may climb or sink at most `climb` pixels (while staying clear) before moving one pixel on.
class Passage {
public:
    // solid: width x height bytes, row by row, non-zero where the terrain is solid.
    Passage(const std::vector<unsigned char>& solid, int width, int height, int boxWidth, int boxHeight,
            int climb);

    // Flies the box from (0, startY); true when it reaches the map's right edge.
    bool fly(int startY);
    // Largest box x reached by the last fly.
    int furthest() const { return reached; }
    // The smallest, over all box positions x, of the tallest free run of pixels in the
    // column through the box's middle that holds a reachable box; atX gets its x.
    int narrowestGap(int& atX) const;
    // A box top per box x near the middle of the way, smoothed, for previews only.
    std::vector<int> route() const;

private:
    bool fits(int x, int y) const { return fit[x * positionsY + y] != 0; }
    bool reachable(int x, int y) const { return reach[x * positionsY + y] != 0; }

    const std::vector<unsigned char>& solid;
    int width, height, boxWidth, boxHeight, climb;
    int positionsX, positionsY;
    int reached;
    std::vector<unsigned char> fit;
    std::vector<unsigned char> reach;
};

#endif
