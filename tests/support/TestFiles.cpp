#include "support/TestFiles.h"

#include <allegro.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

TempDir::TempDir()
{
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base ? base : "/tmp") + "/skiff-test-XXXXXX";
    char buffer[512];
    pattern.copy(buffer, sizeof buffer - 1);
    buffer[pattern.size()] = '\0';
    const char* made = mkdtemp(buffer);
    dir = made ? made : "/tmp";
}

TempDir::~TempDir()
{
    if (dir != "/tmp") {
        std::string command = "rm -rf '" + dir + "'";
        if (system(command.c_str()) != 0)
            return;
    }
}

std::string TempDir::write(const std::string& name, const std::string& contents) const
{
    std::string path = dir + "/" + name;
    std::ofstream out(path, std::ios::binary);
    out << contents;
    return path;
}

std::string TempDir::prefix() const
{
    return dir + "/";
}

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
    save_bitmap(path.c_str(), bitmap, nullptr);
    return path;
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
