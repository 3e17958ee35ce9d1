#ifndef SKIFF_LEVEL_LEVELTEXT_H
#define SKIFF_LEVEL_LEVELTEXT_H

#include <cstdint>
#include <string>
#include <vector>

// Writes the text files of a level, level.def and aliens.def, as Level and AlienDefReader
// read them back. The values are written as given; whether the game accepts them is the readers' to say.
class LevelText {
public:
    // One tileset block: a picture of level.dat and a grid of tile numbers, row by row.
    struct Block {
        int32_t pictureIndex;
        int32_t tileSize;
        int32_t width;
        int32_t height;
        std::vector<int> cells;
    };
    // Where an alien waits: the world position of its top-left corner.
    struct Placement {
        int32_t x;
        int32_t y;
    };

    // "LEVELDEF" with the title on its line, then every block with one grid row a line. Given lines,
    // they become the line (from 1) each block starts on.
    static std::string description(const std::string& title, const std::vector<Block>& blocks,
                                   std::vector<int>* lines = nullptr);
    // One prototype showing picture with explosionKind, none when picture is empty, then the placements.
    // Given lines, they become the prototype's line (0 without one), then each placement's.
    static std::string aliens(const std::string& picture, int explosionKind, const std::vector<Placement>& placements,
                              std::vector<int>* lines = nullptr);
};

#endif
