#ifndef SKIFF_TESTS_CORE_TESTWORLD_H
#define SKIFF_TESTS_CORE_TESTWORLD_H

#include <string>

#include "core/Game.h"
#include "headless/ScratchFiles.h"
#include "headless/WorkingDirectory.h"
#include "render/Renderer.h"

class Level;
class HomingAlien;
class Explosion;
class Shot;
class Player;
class Sprite;

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

private:
    static void releaseAll();
};

// A Game put together field by field, as the game's set-up would: a hand-made level of
// columns x rows cells (320 x 240 pixels by default, so it never scrolls), the shot and
// explosion prototypes, a Waiting player at (100, 100) and one 16x16 alien prototype.
// lives 5, ticks 0, elapsedTicks 1.
struct AssembledGame {
    explicit AssembledGame(int columns = 20, int rows = 15);

    Player& ship();
    // Puts the ship at (x, y), Flying.
    void fly(double x, double y);
    // A dormant homing alien at (x, y) appended to game.aliens, placed as the alien file places it.
    HomingAlien* placeAlien(int x, int y);
    // The i-th alien of game.aliens.
    HomingAlien* alien(size_t i);
    // A shot copied from the prototype at (x, y) appended to game.playerShots.
    Shot* placeShot(double x, double y);
    // Gives sprite the frames of a fully opaque picture of `frames` width x height frames.
    void loadStrip(Sprite& sprite, int width, int height, int frames);

    TempDir dir;
    Renderer renderer;
    Game game;
};

#endif
