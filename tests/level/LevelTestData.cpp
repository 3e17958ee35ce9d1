#include "level/LevelTestData.h"

#include <sstream>

#include "headless/RenderLog.h"

void LevelTest::SetUp()
{
    RenderLog::clear();
}

int LevelTest::read(const std::string& text, Level* into)
{
    std::istringstream in(text);
    return (into ? into : &level)->readDescription(in, datafile.get());
}

std::string block(int pictureIndex, int tileSize, int width, int height, const std::string& grid)
{
    std::ostringstream out;
    out << "{ tileset " << pictureIndex << " " << tileSize << " " << width << " " << height << "\n";
    for (int i = 0; grid.empty() && i < width * height; ++i)
        out << "0 ";
    out << grid << "\n}\n";
    return out.str();
}
