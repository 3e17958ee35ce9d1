#ifndef SKIFF_TOOLS_LEVEL_TILELAYER_H
#define SKIFF_TOOLS_LEVEL_TILELAYER_H

#include <string>
#include <vector>

#include "Paint.h"

struct BITMAP;

// Everything a cell's picture depends on; cells with equal keys share one tile.
typedef std::vector<int> TileKey;

// One map layer painted pixel by pixel and cut into shared 16 x 16 tiles, as many as a layer
// of the game can show.
class TileLayer {
public:
    enum { TileSize = 16, PictureRows = 16 };

    TileLayer(const char* name, int columns, int rows);
    virtual ~TileLayer();

    // The colour of layer pixel (x, y); it may depend on the cell only through keyOf.
    virtual Pixel colourAt(int x, int y) const = 0;
    virtual TileKey keyOf(int column, int row) const = 0;

    // Paints the layer, numbers its distinct tiles (the cells keyed like firstKey get
    // tile 0, if given) and checks that every cell equals its tile. 0, or -1 with the
    // reason on stderr.
    int build(const TileKey* firstKey);
    // The tile picture: tiles numbered down its columns, PictureRows tiles per column.
    // Owned by the layer; valid after build.
    BITMAP* picture() const { return tilePicture; }
    // Whether every pixel of tile k is the mask colour.
    bool tileIsClear(int k) const;
    // Where tile k stands in the picture as a Tiled tileset numbers its tiles, row by row.
    int tiledId(int k) const { return (k % PictureRows) * pictureColumns() + k / PictureRows; }
    int pictureColumns() const { return (tiles + PictureRows - 1) / PictureRows; }

    int tileAt(int column, int row) const { return cells[row * cols + column]; }
    int tileCount() const { return tiles; }
    int columns() const { return cols; }
    int rows() const { return rowCount; }
    int pixelWidth() const { return cols * TileSize; }
    int pixelHeight() const { return rowCount * TileSize; }
    const char* name() const { return layerName; }

private:
    const char* layerName;
    int cols;
    int rowCount;
    int tiles;
    std::vector<int> cells;
    BITMAP* tilePicture;
    BITMAP* layerImage;
};

#endif
