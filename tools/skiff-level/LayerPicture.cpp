#include "LayerPicture.h"

#include <allegro.h>

LayerPicture::LayerPicture(int size, int tiles) : picture(nullptr), tileSize(size), columns(1), rows(1)
{
    if (tiles < 1)
        tiles = 1;
    while (rows * rows < tiles)
        ++rows;
    columns = (tiles + rows - 1) / rows;
    picture = create_bitmap_ex(32, columns * tileSize, rows * tileSize);
    if (picture)
        clear_to_color(picture, makecol32(255, 0, 255));
}

LayerPicture::~LayerPicture()
{
    if (picture)
        destroy_bitmap(picture);
}

void LayerPicture::place(int k, int& x, int& y) const
{
    x = (k / rows) * tileSize;
    y = (k % rows) * tileSize;
}

void LayerPicture::setTile(int k, BITMAP* source, int sourceX, int sourceY)
{
    int x, y;
    place(k, x, y);
    blit(source, picture, sourceX, sourceY, x, y, tileSize, tileSize);
}
