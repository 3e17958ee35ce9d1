#ifndef SKIFF_LEVEL_TOOL_LAYERPICTURE_H
#define SKIFF_LEVEL_TOOL_LAYERPICTURE_H

struct BITMAP;

// The picture a tileset block of the game cuts its tiles from, laid out the game's way:
// tile k at x = (k / rows) * tileSize, y = (k % rows) * tileSize, tile 0 wholly transparent.
class LayerPicture {
public:
    // A picture for tiles 0 to tiles - 1, as near to square as it goes, all magenta.
    LayerPicture(int tileSize, int tiles);
    // Destroys the picture.
    virtual ~LayerPicture();

    // Copies the tileSize square at (x, y) of source into tile k (1 or more).
    void setTile(int k, BITMAP* source, int x, int y);
    // Where tile k lies in the picture.
    void place(int k, int& x, int& y) const;

    BITMAP* picture;  // null when it could not be made
    int tileSize;
    int columns;
    int rows;
};

#endif
