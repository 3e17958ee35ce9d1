#include "FreeSpace.h"

#include "headless/Probe.h"
#include "level/Level.h"
#include "level/Tileset.h"

FreeSpace::FreeSpace(const Level& level, const Sprite& model) : columns(0), rows(0)
{
    const Tileset* map = level.mainTileset;
    if (!map || model.frameWidth <= 0 || model.frameHeight <= 0)
        return;
    columns = map->pixelWidth() - model.frameWidth + 1;
    rows = map->pixelHeight() - model.frameHeight + 1;
    if (columns <= 0 || rows <= 0) {
        columns = rows = 0;
        return;
    }
    free.assign((size_t)columns * rows, 0);
    Probe probe(model);
    const int frames = (int)model.frameMasks.size();
    for (int x = 0; x < columns; ++x) {
        for (int y = 0; y < rows; ++y) {
            bool clear = true;
            for (int frame = 0; frame < frames && clear; ++frame)
                clear = !probe.hitsAt(level, frame, x, y);
            free[(size_t)x * rows + y] = clear;
        }
    }
}

FreeSpace::~FreeSpace() {}

bool FreeSpace::fits(int x, int y) const
{
    if (x < 0 || y < 0 || x >= columns || y >= rows)
        return false;
    return free[(size_t)x * rows + y] != 0;
}
