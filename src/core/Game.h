#ifndef SKIFF_CORE_GAME_H
#define SKIFF_CORE_GAME_H

#include <atomic>
#include <cstdint>
#include <list>
#include <vector>

class Renderer;
class Player;
class Sprite;
class Shot;
class Explosion;
class Alien;
class Level;

// Owns everything the game consists of and runs it.
class Game {
public:
    enum { SetupDisplayFailed = 0, SetupLevelFailed = 1, SetupReady = 2 };
    // Logic steps a second: the timer ticks this often and each tick is one step.
    enum { StepsPerSecond = 100 };

    Game();
    virtual ~Game();

    // Display, 100 Hz timer, keyboard, then the world of "level0/".
    // 0: the display failed; 1: the level failed (alert shown); 2: ready to run.
    int setup();
    // Level, sprite prototypes, player and aliens of levelDirectory ("level0/");
    // 1 after the "Error loading level" alert, 2 when ready. Needs the renderer.
    int loadWorld(const char* levelDirectory);
    // The shot and explosion prototypes and the player, for the level already in place.
    void createSprites();
    // The intro screen, then frames until Escape is held or no life is left.
    void run();

    // Shows "intro/intro.pcx" until a key is read; ends the process with -1 without it.
    void showIntro();
    // Resets the frame counters; called once before the first frame.
    void startLoop();
    // One frame: the pending logic steps, then the drawing. False when the loop must end.
    bool runFrame();
    // One logic step: level, player, terrain, shots, aliens.
    void logicStep();

    // Centres explosion on sprite; the animation is not touched.
    void startExplosion(Sprite& sprite, Explosion& explosion);
    // Appends a fired shot; the game owns it from now on.
    void addPlayerShot(Shot* shot);
    // Moves every shot and settles what it hits.
    void updateShots();
    // Fills shotTargets with the aliens, in list order, that some player shot's box meets.
    void gatherShotTargets();
    // Settles aliens against the ship and the terrain, then moves them.
    void updateAliens();
    // Builds an alien prototype from pictureFile; whether alienPrototypes grew.
    bool addAlienPrototype(int ignored, const char* pictureFile, int explosionKind);
    // Places a dormant copy of the first prototype at (x, y); whether aliens grew.
    bool addAlien(int ignored, int x, int y);

    // Timer callback: counts one tick. Touches nothing but the two counters.
    static void onTimerTick(void* game);

    Renderer* renderer;
    Player* player;
    std::list<Sprite*> enemyShots;
    std::list<Shot*> playerShots;
    std::list<Alien*> aliens;
    std::vector<Alien*> shotTargets;  // scratch for updateShots, kept to avoid allocating each step
    std::vector<Alien*> alienPrototypes;
    std::vector<Shot*> shotPrototypes;
    std::vector<Explosion*> explosionPrototypes;
    Level* level;
    int32_t lives;
    std::atomic<int32_t> ticks;
    std::atomic<int32_t> pendingTicks;
    int32_t stepsLeft;
    int32_t lastFrameTicks;
    int32_t elapsedTicks;

    int32_t framesCounted;
    int32_t frameRateMark;
    char frameRateText[50];
};

#endif
