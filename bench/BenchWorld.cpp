#include "BenchWorld.h"

#include <allegro.h>

#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

#include "core/DataPaths.h"
#include "headless/ScratchFiles.h"
#include "level/LevelFormat.h"
#include "level/LevelText.h"

namespace {

const int TileCount = 16;
const int PictureRows = 4;

int opaque()
{
    return makecol32(200, 200, 200);
}

bool save(BITMAP* bitmap, const std::string& path)
{
    if (!bitmap)
        return false;
    bool saved = save_bitmap(path.c_str(), bitmap, nullptr) == 0;
    destroy_bitmap(bitmap);
    return saved;
}

// Frames of round blobs stacked vertically, growing frame by frame like an explosion.
BITMAP* blobStrip(int size, int frames)
{
    BITMAP* strip = makeBitmap(size, size * frames, magenta());
    if (!strip)
        return nullptr;
    for (int i = 0; i < frames; ++i)
        circlefill(strip, size / 2, i * size + size / 2, 2 + (size / 2 - 2) * (i + 1) / frames, opaque());
    return strip;
}

// Tiles are numbered down the picture's columns, PictureRows to a column.
BITMAP* tilePicture()
{
    const int t = BenchWorld::TileSize;
    BITMAP* picture = makeBitmap(TileCount / PictureRows * t, PictureRows * t, magenta());
    if (!picture)
        return nullptr;
    for (int k = 1; k < TileCount; ++k) {
        int left, top;
        LevelFormat::tileCorner(k, PictureRows, t, left, top);
        if (k == 1) {
            rectfill(picture, left, top, left + t - 1, top + t - 1, opaque());
        } else if (k == 2) {
            rectfill(picture, left, top + t - 6, left + t - 1, top + t - 1, opaque());
        } else if (k == 3) {
            rectfill(picture, left, top, left + t - 1, top + 5, opaque());
        } else {
            // Slopes of different steepness, rising to the right.
            int steepness = k - 3;
            for (int x = 0; x < t; ++x) {
                int height = x * steepness / 12;
                if (height > 0)
                    vline(picture, left + x, top + t - (height < t ? height : t), top + t - 1, opaque());
            }
        }
    }
    return picture;
}

}

bool BenchWorld::ready() const
{
    return !dir.path().empty();
}

bool BenchWorld::writeSpritePictures() const
{
    if (!ready())
        return false;
    mkdir((dir.path() + "/bmp").c_str(), 0755);

    BITMAP* shot = makeBitmap(10, 4, magenta());
    if (shot)
        rectfill(shot, 0, 1, 9, 2, opaque());
    BITMAP* ship = makeBitmap(24, 24, magenta());
    if (ship) {
        for (int frame = 0; frame < 2; ++frame) {
            int points[6] = {0, frame * 12, 23, frame * 12 + 6, 0, frame * 12 + 11};
            polygon(ship, 3, points, opaque());
        }
    }
    BITMAP* alien = makeBitmap(16, 16, magenta());
    if (alien)
        circlefill(alien, 8, 8, 7, opaque());

    const std::string root = dir.prefix();
    bool written = save(shot, root + DataPaths::Shot);
    written = save(ship, root + DataPaths::Player) && written;
    written = save(alien, root + DataPaths::Alien) && written;
    written = save(blobStrip(32, 8), root + DataPaths::Explosions[0]) && written;
    written = save(blobStrip(24, 7), root + DataPaths::Explosions[1]) && written;
    return written;
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
                            const std::vector<std::pair<int, int>>& aliens) const
{
    if (!ready())
        return false;
    const std::string levelDir = dir.path() + "/" + name;
    mkdir(levelDir.c_str(), 0755);

    const std::string picturePath = levelDir + "/tiles.bmp";
    if (!save(tilePicture(), picturePath))
        return false;
    std::string command = "dat -a -n0 -t BMP -bpp 32 '" + levelDir + "/" + DataPaths::LevelPictures + "' '" +
                          picturePath + "' > /dev/null 2>&1";
    if (system(command.c_str()) != 0)
        return false;

    LevelText::Block block = {0, TileSize, columns, Rows, std::vector<int>()};
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < columns; ++column)
            block.cells.push_back(tileAt(column, row));
    }
    std::vector<LevelText::Placement> placements;
    for (const std::pair<int, int>& at : aliens)
        placements.push_back(LevelText::Placement{at.first, at.second});
    std::ofstream def((levelDir + "/" + DataPaths::LevelDescription).c_str());
    def << LevelText::description("generated " + std::to_string(columns) + " columns", {block});
    std::ofstream alienFile((levelDir + "/" + DataPaths::AlienFile).c_str());
    alienFile << LevelText::aliens(DataPaths::Alien, 0, placements);
    return def.good() && alienFile.good();
}
