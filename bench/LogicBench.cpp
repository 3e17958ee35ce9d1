#include <allegro.h>
#include <benchmark/benchmark.h>

#include <utility>
#include <vector>

#include "BenchWorld.h"
#include "aliens/HomingAlien.h"
#include "core/Game.h"
#include "headless/ScratchFiles.h"
#include "headless/WorkingDirectory.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "render/Renderer.h"
#include "render/Screen.h"
#include "sprites/Player.h"
#include "sprites/Shot.h"

namespace {

// 32,000 pixels: as far as 16.16 fixed point lets aliens be placed.
const int LevelColumns = 2000;
const int ShotCount = 10;
const int PlayerX = 40;
const int PlayerY = 150;

// Alien rows clear of the terrain, the ship and the shots' row; the outer two graze
// the ledges' cells, so their terrain test goes down to the pixels.
const int AlienRows[] = {BenchWorld::OpenTop + 2, 72, 104, 200, 232, BenchWorld::OpenBottom - 6};
const int AlienRowCount = sizeof AlienRows / sizeof AlienRows[0];

// An alien near the screen as it was before a step: a copy that shares the alien's frames
// and its explosion, which only the alien deletes.
struct AlienSnapshot {
    explicit AlienSnapshot(HomingAlien* live) : alien(live), before(*live) {}
    ~AlienSnapshot() { before.explosion = nullptr; }

    HomingAlien* alien;
    HomingAlien before;
};

// A game on a generated level 32,000 pixels wide with count aliens spread evenly from just
// inside the screen to the level's end, a flying ship and ShotCount shots in flight that hit
// nothing in the next step. One step is run before the snapshot, so the aliens on the screen
// are awake.
class LogicWorld {
public:
    explicit LogicWorld(int count);

    bool ready() const { return prepared; }
    // Puts back everything one step changed; false if the step removed or added a sprite.
    bool restore();
    int activeAliens() const;

    BenchWorld files;
    Renderer renderer;
    Game game;
    size_t alienCount;

private:
    bool prepared;
    std::vector<AlienSnapshot> nearAliens;
    std::vector<std::pair<Shot*, Shot>> shots;  // each shot, and a copy sharing its frames
    double scrollX, scrollY;
    double playerX, playerY, lastScrollX;
    uint8_t playerFrame;
    int32_t playerFrameTicks, fireTicks;
};

LogicWorld::LogicWorld(int count) : alienCount(count), prepared(false)
{
    std::vector<LevelText::Placement> placements;
    const long long first = 200;
    const long long span = static_cast<long long>(LevelColumns) * BenchWorld::TileSize - first - 1000;
    for (int i = 0; i < count; ++i)
        placements.push_back({static_cast<int>(first + span * i / count), AlienRows[i % AlienRowCount]});
    writeSpritePictures(files);
    if (!files.writeLevel("logic", LevelColumns, placements))
        return;

    game.renderer = &renderer;
    {
        WorkingDirectory inWorld(files.path());
        if (!inWorld.entered() || game.loadWorld("logic/") != Game::SetupReady)
            return;
    }
    if (game.aliens.size() != alienCount || !game.level->mainTileset)
        return;

    Player* ship = game.player;
    ship->state = Flying;
    ship->x = PlayerX;
    ship->y = PlayerY;
    ship->lastScrollX = 0.0;
    game.elapsedTicks = 1;
    game.level->mainTileset->scrollY = PlayerY - 104.0;
    for (int i = 0; i < ShotCount; ++i) {
        Shot* shot = game.shotPrototypes[0]->makeCopy();
        shot->setPosition(PlayerX + 30 + 18 * i, PlayerY + 5);
        game.addPlayerShot(shot);
    }
    game.logicStep();

    scrollX = game.level->mainTileset->scrollX;
    scrollY = game.level->mainTileset->scrollY;
    playerX = ship->x;
    playerY = ship->y;
    lastScrollX = ship->lastScrollX;
    playerFrame = ship->frameIndex;
    playerFrameTicks = ship->frameTicks;
    fireTicks = ship->fireTicks;
    for (Shot* shot : game.playerShots)
        shots.push_back(std::make_pair(shot, *shot));
    // Placements are in x order, so the aliens a step can wake or move come first.
    for (Alien* alien : game.aliens) {
        if (alien->x > scrollX + 2 * ScreenWidth)
            break;
        nearAliens.emplace_back(static_cast<HomingAlien*>(alien));
    }
    prepared = shots.size() == ShotCount && game.aliens.size() == alienCount && ship->state == Flying;
}

bool LogicWorld::restore()
{
    if (game.playerShots.size() != ShotCount || game.aliens.size() != alienCount || game.player->state != Flying)
        return false;
    game.level->mainTileset->scrollX = scrollX;
    game.level->mainTileset->scrollY = scrollY;
    Player* ship = game.player;
    ship->x = playerX;
    ship->y = playerY;
    ship->lastScrollX = lastScrollX;
    ship->frameIndex = playerFrame;
    ship->frameTicks = playerFrameTicks;
    ship->fireTicks = fireTicks;
    for (const std::pair<Shot*, Shot>& saved : shots)
        *saved.first = saved.second;
    for (const AlienSnapshot& saved : nearAliens) {
        if (saved.alien->exploding)
            return false;
        *saved.alien = saved.before;
    }
    return true;
}

int LogicWorld::activeAliens() const
{
    int active = 0;
    for (const Alien* alien : game.aliens)
        active += alien->activity == Active;
    return active;
}

void BM_LogicStep(benchmark::State& state)
{
    LogicWorld world(static_cast<int>(state.range(0)));
    if (!world.ready()) {
        state.SkipWithError("could not set up the generated world");
        return;
    }
    for (auto _ : state) {
        world.game.logicStep();
        state.PauseTiming();
        bool steady = world.restore();
        state.ResumeTiming();
        if (!steady) {
            state.SkipWithError("a step removed or added a sprite");
            break;
        }
    }
    state.SetComplexityN(state.range(0));
    state.counters["active"] = world.activeAliens();
}

}

BENCHMARK(BM_LogicStep)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Complexity(benchmark::oN);
