#ifndef SKIFF_HEADLESS_SCRATCHFILES_H
#define SKIFF_HEADLESS_SCRATCHFILES_H

#include <string>
#include <vector>

#include "headless/TempDir.h"
#include "level/LevelText.h"

struct BITMAP;

// Pictures, datafiles and levels written into a TempDir laid out like the game's data/ tree.

// A 32-bit memory bitmap filled with colour (made with makecol).
BITMAP* makeBitmap(int width, int height, int colour);
// Saves a BMP as name in dir, making the directories name goes through; returns its full path.
std::string saveBitmap(const TempDir& dir, const std::string& name, BITMAP* bitmap);
// Saves a 32-bit picture as an RGBA PNG at path, its magenta pixels fully transparent; 0 on success.
int savePng(const std::string& path, BITMAP* bitmap);
// Builds a datafile of the given BMP files with Allegro's dat tool, in that order; returns its path.
std::string buildDatafile(const TempDir& dir, const std::string& name, const std::string& bmpPaths);
int magenta();
int opaqueWhite();

// A picture of frames stacked vertically, every pixel opaque; returns its path.
std::string writeStrip(const TempDir& dir, const std::string& name, int width, int frameHeight, int frames);
// The game's sprite pictures in the agreed sizes under dir/bmp/: shoot 10x4, boom 8 x 32x32,
// boom2 7 x 24x24, player 2 x 24x12, alien 16x16, all fully opaque.
void writeSpritePictures(const TempDir& dir);
// A level directory name (with its separator, as DataPaths::Level names one) under dir: level.dat
// holding the picture tiles, which stays the caller's, level.def with block as its one, main tileset,
// and aliens.def. False when the datafile could not be written.
bool writeLevelDirectory(const TempDir& dir, const std::string& name, BITMAP* tiles, const LevelText::Block& block,
                         const std::string& aliensDef);
// The level directory "level0/" under dir: level.def with one main tileset of columns x rows
// 16-pixel cells (given row by row, 0 empty, 1 solid), level.dat, and aliens.def.
void writeLevelDirectory(const TempDir& dir, int columns, int rows, const std::vector<int>& cells,
                         const std::string& aliensDef);
// A grid of columns x rows empty cells, with the cells of the last row solid when solidFloor.
std::vector<int> floorGrid(int columns, int rows, bool solidFloor);

#endif
