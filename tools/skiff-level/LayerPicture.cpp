#include "LayerPicture.h"

#include <allegro.h>

#include "TiledMap.h"
#include "level/LevelFormat.h"

LayerPicture::LayerPicture(int size, int tiles) : picture(nullptr), tileSize(size), columns(1), rows(1)
{
    layout(tiles, columns, rows);
    picture = create_bitmap_ex(32, columns * tileSize, rows * tileSize);
    if (picture)
        clear_to_color(picture, makecol32(255, 0, 255));
}

void LayerPicture::layout(int tiles, int& columns, int& rows)
{
    if (tiles < 1)
        tiles = 1;
    rows = 1;
    while (rows * rows < tiles)
        ++rows;
    columns = (tiles + rows - 1) / rows;
}

LayerPicture::~LayerPicture()
{
    if (picture)
        destroy_bitmap(picture);
}

void LayerPicture::place(int k, int& x, int& y) const
{
    LevelFormat::tileCorner(k, rows, tileSize, x, y);
}

void LayerPicture::setTile(int k, BITMAP* source, int sourceX, int sourceY, uint32_t flips)
{
    int x, y;
    place(k, x, y);
    const int last = tileSize - 1;
    for (int v = 0; v < tileSize; ++v) {
        for (int u = 0; u < tileSize; ++u) {
            // Undo the flips in reverse order to find the source pixel of (u, v).
            int a = flips & TiledMap::FlipX ? last - u : u;
            int b = flips & TiledMap::FlipY ? last - v : v;
            int fromX = flips & TiledMap::FlipDiagonal ? b : a;
            int fromY = flips & TiledMap::FlipDiagonal ? a : b;
            putpixel(picture, x + u, y + v, getpixel(source, sourceX + fromX, sourceY + fromY));
        }
    }
}
