#include "BenchWorld.h"

#include <allegro.h>

#include "core/DataPaths.h"
#include "headless/ScratchFiles.h"
#include "level/LevelFormat.h"

namespace {

const int TileCount = 16;
const int PictureRows = 4;

// Tiles are numbered down the picture's columns, PictureRows to a column.
BITMAP* tilePicture()
{
    const int t = BenchWorld::TileSize;
    const int opaque = makecol32(200, 200, 200);
    BITMAP* picture = makeBitmap(TileCount / PictureRows * t, PictureRows * t, magenta());
    if (!picture)
        return nullptr;
    for (int k = 1; k < TileCount; ++k) {
        int left, top;
        LevelFormat::tileCorner(k, PictureRows, t, left, top);
        if (k == 1) {
            rectfill(picture, left, top, left + t - 1, top + t - 1, opaque);
        } else if (k == 2) {
            rectfill(picture, left, top + t - 6, left + t - 1, top + t - 1, opaque);
        } else if (k == 3) {
            rectfill(picture, left, top, left + t - 1, top + 5, opaque);
        } else {
            // Slopes of different steepness, rising to the right.
            int steepness = k - 3;
            for (int x = 0; x < t; ++x) {
                int height = x * steepness / 12;
                if (height > 0)
                    vline(picture, left + x, top + t - (height < t ? height : t), top + t - 1, opaque);
            }
        }
    }
    return picture;
}

}

int BenchWorld::tileAt(int column, int row)
{
    if (row <= 1 || row == Rows - 1)
        return column % 7 == 0 ? 4 + column % 12 : 1;
    if (row == 2)
        return column % 3 == 0 ? 3 : 0;
    if (row == Rows - 2)
        return column % 3 == 1 ? 2 : 0;
    return 0;
}

bool BenchWorld::writeLevel(const std::string& name, int columns,
                            const std::vector<LevelText::Placement>& aliens) const
{
    BITMAP* tiles = path().empty() ? nullptr : tilePicture();
    if (!tiles)
        return false;
    LevelText::Block block = {0, TileSize, columns, Rows, std::vector<int>()};
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < columns; ++column)
            block.cells.push_back(tileAt(column, row));
    }
    const bool written =
        writeLevelDirectory(*this, name + "/", tiles, block, LevelText::aliens(DataPaths::Alien, 0, aliens));
    destroy_bitmap(tiles);
    return written;
}
