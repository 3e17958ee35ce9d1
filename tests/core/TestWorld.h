#ifndef SKIFF_TESTS_CORE_TESTWORLD_H
#define SKIFF_TESTS_CORE_TESTWORLD_H

#include <string>

#include "core/Game.h"
#include "render/Renderer.h"
#include "support/TestFiles.h"

class Level;
class HomingAlien;
class Explosion;
class Shot;
class Player;

int opaqueWhite();

// A picture of frames stacked vertically, every pixel opaque; returns its path.
std::string writeStrip(const TempDir& dir, const std::string& name, int width, int frameHeight, int frames);
// The game's sprite pictures in the agreed sizes under dir/bmp/: shoot 10x4, boom 8 x 32x32,
// boom2 7 x 24x24, player 2 x 24x12, alien 16x16, all fully opaque.
void writeSpritePictures(const TempDir& dir);

// A level whose only (main) tileset has columns x rows cells of 16 pixels, all showing
// tile 0 (empty); tile 1 is solid. Scroll positions 0, factors 1, bounded.
Level* makeLevel(Renderer* renderer, int columns, int rows);
void setCell(Level& level, int column, int row, int tile);
void setScroll(Level& level, double x, double y);

// Holds arrow and fire keys for the length of a test; releases every key afterwards.
class HeldKeys {
public:
    HeldKeys();
    ~HeldKeys();
    void press(int scancode);
    void release(int scancode);
};

// Runs a block in another working directory, coming back afterwards.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& path);
    ~WorkingDirectory();

private:
    std::string previous;
};

// A Game put together field by field, as the game's set-up would: a hand-made level of
// columns x rows cells (320 x 240 pixels by default, so it never scrolls), the shot and
// explosion prototypes, a Waiting player at (100, 100) and one 16x16 alien prototype.
// lives 5, ticks 0, elapsedTicks 1.
struct AssembledGame {
    explicit AssembledGame(int columns = 20, int rows = 15);
    ~AssembledGame();

    Player& ship();
    // A dormant homing alien at (x, y) appended to game.aliens, made like a placement.
    HomingAlien* placeAlien(int x, int y);
    // A shot copied from the prototype at (x, y) appended to game.playerShots.
    Shot* placeShot(double x, double y);

    TempDir dir;
    Renderer renderer;
    Game game;
};

// A level directory "level0/" under dir: level.def with one main tileset of columns x rows
// 16-pixel cells (grid given row by row, 0 empty, 1 solid), level.dat, and aliens.def.
void writeLevelDirectory(const TempDir& dir, int columns, int rows, const std::string& grid,
                         const std::string& aliensDef);
// Grid text of columns x rows zeros, with the cells of the last row set to 1 when solidFloor.
std::string gridText(int columns, int rows, bool solidFloor);

#endif
