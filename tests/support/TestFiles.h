#ifndef SKIFF_TESTS_SUPPORT_TESTFILES_H
#define SKIFF_TESTS_SUPPORT_TESTFILES_H

#include <string>

struct BITMAP;

// A fresh directory under the system's temporary directory, removed with its files.
class TempDir {
public:
    TempDir();
    ~TempDir();
    // path() + "/" + name, with contents written to it.
    std::string write(const std::string& name, const std::string& contents) const;
    // The directory with a trailing "/", as the game's loaders expect.
    std::string prefix() const;
    const std::string& path() const { return dir; }

private:
    std::string dir;
};

// A 32-bit memory bitmap filled with colour (made with makecol).
BITMAP* makeBitmap(int width, int height, int colour);
// Saves a BMP into dir; returns its full path.
std::string saveBitmap(const TempDir& dir, const std::string& name, BITMAP* bitmap);
// Builds a datafile of the given BMP files with Allegro's dat tool, in that order; returns its path.
std::string buildDatafile(const TempDir& dir, const std::string& name, const std::string& bmpPaths);
int magenta();

#endif
