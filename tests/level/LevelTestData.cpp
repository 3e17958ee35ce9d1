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

std::string block(int pictureIndex, int tileSize, int width, int height, const std::string& grid)
{
    std::ostringstream out;
    out << "{ tileset " << pictureIndex << " " << tileSize << " " << width << " " << height << "\n"
        << grid << "\n}\n";
    return out.str();
}

std::string emptyBlock(int pictureIndex, int tileSize, int width, int height)
{
    std::string grid;
    for (int i = 0; i < width * height; ++i)
        grid += "0 ";
    return block(pictureIndex, tileSize, width, height, grid);
}

std::string colourAt(BITMAP* bitmap, int x, int y)
{
    int c = getpixel(bitmap, x, y);
    int depth = bitmap_color_depth(bitmap);
    std::ostringstream out;
    out << getr_depth(depth, c) << "," << getg_depth(depth, c) << "," << getb_depth(depth, c);
    return out.str();
}
