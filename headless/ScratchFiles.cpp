#include "headless/ScratchFiles.h"

#include <allegro.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "core/DataPaths.h"
#include "core/FileBytes.h"
#include "level/DatafileWriter.h"

BITMAP* makeBitmap(int width, int height, int colour)
{
    BITMAP* bitmap = create_bitmap_ex(32, width, height);
    if (bitmap)
        clear_to_color(bitmap, colour);
    return bitmap;
}

std::string saveBitmap(const TempDir& dir, const std::string& name, BITMAP* bitmap)
{
    std::string path = dir.path() + "/" + name;
    std::error_code failed;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), failed);
    save_bitmap(path.c_str(), bitmap, nullptr);
    return path;
}

int savePng(const std::string& path, BITMAP* bitmap)
{
    std::vector<unsigned char> rgba;
    rgba.reserve(static_cast<size_t>(bitmap->w) * bitmap->h * 4);
    for (int y = 0; y < bitmap->h; ++y) {
        for (int x = 0; x < bitmap->w; ++x) {
            int pixel = getpixel(bitmap, x, y);
            rgba.push_back(static_cast<unsigned char>(getr32(pixel)));
            rgba.push_back(static_cast<unsigned char>(getg32(pixel)));
            rgba.push_back(static_cast<unsigned char>(getb32(pixel)));
            rgba.push_back(pixel == magenta() ? 0 : 255);
        }
    }
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bitmap->w);
    image.height = static_cast<png_uint_32>(bitmap->h);
    image.format = PNG_FORMAT_RGBA;
    int written = png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr);
    png_image_free(&image);
    return written ? 0 : -1;
}

std::string buildDatafile(const TempDir& dir, const std::string& name, const std::string& bmpPaths)
{
    std::string path = dir.path() + "/" + name;
    std::string command = "dat -a -n0 -t BMP -bpp 32 '" + path + "' " + bmpPaths + " > /dev/null 2>&1";
    if (system(command.c_str()) != 0)
        return std::string();
    return path;
}

int magenta()
{
    return makecol32(255, 0, 255);
}

int opaqueWhite()
{
    return makecol32(255, 255, 255);
}

std::string writeStrip(const TempDir& dir, const std::string& name, int width, int frameHeight, int frames)
{
    BITMAP* picture = makeBitmap(width, frameHeight * frames, opaqueWhite());
    std::string path = saveBitmap(dir, name, picture);
    destroy_bitmap(picture);
    return path;
}

void writeSpritePictures(const TempDir& dir)
{
    writeStrip(dir, DataPaths::Shot, 10, 4, 1);
    writeStrip(dir, DataPaths::Explosions[0], 32, 32, 8);
    writeStrip(dir, DataPaths::Explosions[1], 24, 24, 7);
    writeStrip(dir, DataPaths::Player, 24, 12, 2);
    writeStrip(dir, DataPaths::Alien, 16, 16, 1);
}

std::vector<int> floorGrid(int columns, int rows, bool solidFloor)
{
    std::vector<int> cells(static_cast<size_t>(columns) * rows, 0);
    if (solidFloor && rows > 0)
        std::fill(cells.end() - columns, cells.end(), 1);
    return cells;
}

bool writeLevelDirectory(const TempDir& dir, const std::string& name, BITMAP* tiles, const LevelText::Block& block,
                         const std::string& aliensDef)
{
    std::error_code failed;
    std::filesystem::create_directories(dir.path() + "/" + name, failed);
    DatafileWriter pictures;
    pictures.addBitmap(tiles, "TILES_BMP");
    const std::string path = dir.path() + "/" + name + DataPaths::LevelPictures;
    if (dir.path().empty() || !FileBytes::write(path, pictures.contents()))
        return false;
    dir.write(name + DataPaths::LevelDescription, LevelText::description("Test level", {block}));
    dir.write(name + DataPaths::AlienFile, aliensDef);
    return true;
}

void writeLevelDirectory(const TempDir& dir, int columns, int rows, const std::vector<int>& cells,
                         const std::string& aliensDef)
{
    // Tile 0 on top (empty), tile 1 below it (solid): tiles are numbered down the columns.
    BITMAP* tiles = makeBitmap(16, 32, magenta());
    rectfill(tiles, 0, 16, 15, 31, opaqueWhite());
    writeLevelDirectory(dir, DataPaths::Level, tiles, LevelText::Block{0, 16, columns, rows, cells}, aliensDef);
    destroy_bitmap(tiles);
}
