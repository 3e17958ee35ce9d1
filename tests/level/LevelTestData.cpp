#include "level/LevelTestData.h"

#include <allegro.h>

#include <sstream>

#include "headless/RenderLog.h"

void LevelTest::SetUp()
{
    RenderLog::clear();
}

int LevelTest::read(const std::string& text)
{
    std::istringstream in(text);
    return level.readDescription(in, datafile.get());
}

std::string emptyBlock(int pictureIndex, int tileSize, int width, int height)
{
    std::string grid;
    for (int i = 0; i < width * height; ++i)
        grid += (i % width == width - 1) ? "0\n" : "0 ";
    return block(pictureIndex, tileSize, width, height, grid);
}

std::string block(int pictureIndex, int tileSize, int width, int height, const std::string& grid)
{
    std::ostringstream out;
    out << "{ tileset " << pictureIndex << " " << tileSize << " " << width << " " << height << "\n"
        << grid << "\n}\n";
    return out.str();
}

std::string colourAt(BITMAP* bitmap, int x, int y)
{
    int c = getpixel(bitmap, x, y);
    std::ostringstream out;
    out << getr_depth(bitmap_color_depth(bitmap), c) << "," << getg_depth(bitmap_color_depth(bitmap), c) << ","
        << getb_depth(bitmap_color_depth(bitmap), c);
    return out.str();
}
