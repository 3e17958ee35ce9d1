#include "TileLayer.h"

#include <allegro.h>

#include <cstdio>
#include <map>

#include "level/LevelFormat.h"

TileLayer::TileLayer(const char* name, int columns, int rows)
    : layerName(name), cols(columns), rowCount(rows), tiles(0), cells(columns * rows, 0),
      tilePicture(nullptr), layerImage(nullptr)
{
}

TileLayer::~TileLayer()
{
    if (tilePicture)
        destroy_bitmap(tilePicture);
    if (layerImage)
        destroy_bitmap(layerImage);
}

static int toColour(const Pixel& p)
{
    if (p.clear)
        return makecol32(255, 0, 255);
    int r = (int)(p.r + 0.5), g = (int)(p.g + 0.5), b = (int)(p.b + 0.5);
    r = r < 0 ? 0 : (r > 255 ? 255 : r);
    g = g < 0 ? 0 : (g > 255 ? 255 : g);
    b = b < 0 ? 0 : (b > 255 ? 255 : b);
    if (r == 255 && g == 0 && b == 255)
        r = 254; // an opaque pixel must never read as the mask colour
    return makecol32(r, g, b);
}

int TileLayer::build(const TileKey* firstKey)
{
    layerImage = create_bitmap_ex(32, pixelWidth(), pixelHeight());
    for (int y = 0; y < pixelHeight(); y++)
        for (int x = 0; x < pixelWidth(); x++)
            putpixel(layerImage, x, y, toColour(colourAt(x, y)));

    std::map<TileKey, int> numbers;
    std::vector<int> firstCell;
    if (firstKey) {
        numbers[*firstKey] = 0;
        firstCell.push_back(-1);
    }
    for (int r = 0; r < rowCount; r++)
        for (int c = 0; c < cols; c++) {
            TileKey key = keyOf(c, r);
            std::map<TileKey, int>::iterator found = numbers.find(key);
            int number;
            if (found == numbers.end()) {
                number = (int)firstCell.size();
                numbers[key] = number;
                firstCell.push_back(r * cols + c);
            } else {
                number = found->second;
                if (firstCell[number] < 0)
                    firstCell[number] = r * cols + c;
            }
            cells[r * cols + c] = number;
        }
    tiles = (int)firstCell.size();
    if (tiles > LevelFormat::MaxTilePictures) {
        fprintf(stderr, "%s layer: %d tiles, at most %d allowed\n", layerName, tiles,
                (int)LevelFormat::MaxTilePictures);
        return -1;
    }

    tilePicture = create_bitmap_ex(32, pictureColumns() * TileSize, PictureRows * TileSize);
    clear_to_color(tilePicture, makecol32(255, 0, 255));
    for (int k = 0; k < tiles; k++) {
        if (firstCell[k] < 0)
            continue;
        int sx = (firstCell[k] % cols) * TileSize, sy = (firstCell[k] / cols) * TileSize, tx, ty;
        LevelFormat::tileCorner(k, PictureRows, TileSize, tx, ty);
        blit(layerImage, tilePicture, sx, sy, tx, ty, TileSize, TileSize);
    }

    for (int i = 0; i < cols * rowCount; i++) {
        int k = cells[i];
        int sx = (i % cols) * TileSize, sy = (i / cols) * TileSize, tx, ty;
        LevelFormat::tileCorner(k, PictureRows, TileSize, tx, ty);
        for (int y = 0; y < TileSize; y++)
            for (int x = 0; x < TileSize; x++)
                if (getpixel(layerImage, sx + x, sy + y) != getpixel(tilePicture, tx + x, ty + y)) {
                    fprintf(stderr, "%s layer: cell (%d, %d) differs from its tile %d at (%d, %d)\n",
                            layerName, i % cols, i / cols, k, x, y);
                    return -1;
                }
    }
    return 0;
}

bool TileLayer::tileIsClear(int k) const
{
    int mask = makecol32(255, 0, 255);
    int tx, ty;
    LevelFormat::tileCorner(k, PictureRows, TileSize, tx, ty);
    for (int y = 0; y < TileSize; y++)
        for (int x = 0; x < TileSize; x++)
            if (getpixel(tilePicture, tx + x, ty + y) != mask)
                return false;
    return true;
}
