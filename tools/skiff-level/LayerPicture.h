#ifndef SKIFF_LEVEL_TOOL_LAYERPICTURE_H
#define SKIFF_LEVEL_TOOL_LAYERPICTURE_H

#include <cstdint>

struct BITMAP;

// The picture a tileset block of the game cuts its tiles from, laid out the game's way:
// tile k at x = (k / rows) * tileSize, y = (k % rows) * tileSize, tile 0 wholly transparent.
class LayerPicture {
public:
    // A picture for tiles 0 to tiles - 1, as near to square as it goes, all magenta.
    LayerPicture(int tileSize, int tiles);
    // Destroys the picture.
    virtual ~LayerPicture();

    // Copies the tileSize square at (x, y) of source into tile k (1 or more), turned the way
    // Tiled's flip bits in flips say: the diagonal flip (x and y swapped) first, then the
    // horizontal, then the vertical one.
    void setTile(int k, BITMAP* source, int x, int y, uint32_t flips);
    // The columns and rows of tiles of the picture for tiles tiles.
    static void layout(int tiles, int& columns, int& rows);
    // Where tile k lies in the picture.
    void place(int k, int& x, int& y) const;

    BITMAP* picture;  // null when it could not be made
    int tileSize;
    int columns;
    int rows;
};

#endif
