#include "level/LevelFormat.h"

#include "render/Screen.h"

double LevelFormat::parallaxFactor(int32_t layerExtent, int32_t mainExtent, int screenExtent)
{
    int32_t mainRange = mainExtent - screenExtent;
    if (mainRange == 0)
        return 0.0;
    return static_cast<double>(layerExtent - screenExtent) / static_cast<double>(mainRange);
}

bool LevelFormat::scroll(double& position, double step, bool bounded, int32_t extent, int screenExtent)
{
    double next = step + position;
    if (bounded && (!(next >= 0.0) || static_cast<double>(extent) < next + (screenExtent + EdgeMargin)))
        return false;
    position = next;
    return true;
}

void LevelFormat::tileCorner(int64_t tile, int rows, int tileSize, int& x, int& y)
{
    x = static_cast<int>(tile / rows) * tileSize;
    y = static_cast<int>(tile % rows) * tileSize;
}

int64_t LevelFormat::scrollSteps(int32_t width)
{
    // Counted the way the game moves, step by step, so that the rounding of every step is the game's too.
    int64_t steps = 0;
    double position = 0.0;
    while (scroll(position, ScrollStep, true, width, ScreenWidth))
        ++steps;
    return steps;
}
