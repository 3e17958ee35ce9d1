#include "Playthrough.h"

#include <allegro.h>

#include <cmath>
#include <set>

#include "Pilot.h"
#include "PlayReport.h"
#include "aliens/Alien.h"
#include "core/Game.h"
#include "headless/Probe.h"
#include "level/Level.h"
#include "level/LevelFormat.h"
#include "level/Tileset.h"
#include "render/Renderer.h"
#include "render/Screen.h"
#include "sprites/Player.h"

namespace {
// Whether the map has stopped scrolling: the next step would be refused.
bool endOnScreen(const Tileset& map)
{
    double position = map.scrollX;
    return !LevelFormat::scroll(position, LevelFormat::ScrollStep, true, map.pixelWidth(), ScreenWidth);
}
}

Playthrough::Playthrough()
    : renderer(nullptr), game(nullptr), alienProbe(nullptr), watchOut(nullptr), watchFrom(0), watchTo(-1)
{
}

Playthrough::~Playthrough()
{
    delete alienProbe;
    delete game;
    delete renderer;
    Pilot::releaseKeys();
}

int Playthrough::load(const char* levelDirectory)
{
    delete game;
    delete renderer;
    renderer = new Renderer();
    game = new Game();
    game->renderer = renderer;
    if (game->loadWorld(levelDirectory) != Game::SetupReady || !game->level || !game->level->mainTileset ||
        !game->player)
        return -1;
    return 0;
}

void Playthrough::watch(FILE* out, int from, int to)
{
    watchOut = out;
    watchFrom = from;
    watchTo = to;
}

void Playthrough::printStep(int step) const
{
    const Player& ship = *game->player;
    static const char* const states[] = {"flying", "exploding", "entering", "protected", "waiting"};
    fprintf(watchOut, "%6d ship (%7.1f, %5.1f) %-9s keys %c%c%c%c scroll (%7.1f, %5.1f)", step, ship.x, ship.y,
            states[ship.state < 5 ? ship.state : 4], key[KEY_UP] ? 'U' : '.', key[KEY_DOWN] ? 'D' : '.',
            key[KEY_LEFT] ? 'L' : '.', key[KEY_RIGHT] ? 'R' : '.', game->level->mainTileset->scrollX,
            game->level->mainTileset->scrollY);
    for (const Alien* alien : game->aliens)
        if (alien->activity == Active || alien->exploding)
            fprintf(watchOut, " | (%4d, %3d)%s", (int)alien->x, (int)alien->y, alien->exploding ? "*" : "");
    fprintf(watchOut, "\n");
}

int Playthrough::play(Pilot& pilot, PlayReport& report)
{
    if (!game || !game->level || !game->level->mainTileset || !game->player)
        return -1;
    Game& world = *game;
    Player& ship = *world.player;
    delete alienProbe;
    alienProbe = world.alienPrototypes.empty() ? nullptr : new Probe(*world.alienPrototypes[0]);

    report = PlayReport();
    report.aliensPlaced = (int)world.aliens.size();
    fateOf.clear();
    for (const Alien* alien : world.aliens) {
        PlayReport::AlienFate fate = {(int)alien->x, (int)alien->y, PlayReport::Remaining, -1, (int)alien->x,
                                      (int)alien->y, -1};
        fateOf[alien] = (int)report.fates.size();
        report.fates.push_back(fate);
    }

    world.startLoop();
    int endSince = -1;
    for (int step = 0; step < MaxSteps; ++step) {
        pilot.steer(world, step);
        world.ticks.fetch_add(1);
        world.elapsedTicks = 1;
        const PlayerState stateBefore = ship.state;
        before.clear();
        for (Alien* alien : world.aliens) {
            AlienBefore seen = {alien, alien->activity, alien->exploding, alien->x, alien->y};
            before.push_back(seen);
        }

        world.logicStep();
        report.steps = step + 1;
        if (watchOut && step >= watchFrom && step <= watchTo)
            printStep(step);
        noteAliens(step, noteDeath(step, stateBefore, report), report);
        if (step % TraceEvery == 0 && (ship.state == Flying || ship.state == Protected)) {
            PlayReport::Trace where = {(int)ship.x, (int)ship.y, ship.state == Flying};
            report.trace.push_back(where);
        }

        if (world.lives < 0)
            break;
        if (endOnScreen(*world.level->mainTileset) && endSince < 0)
            endSince = step;
        if (endSince >= 0 && finished(step, endSince)) {
            report.endReached = true;
            break;
        }
    }
    for (const Alien* alien : world.aliens)
        if (!alien->exploding)
            report.count(PlayReport::Remaining);
    Pilot::releaseKeys();
    return 0;
}

bool Playthrough::noteDeath(int step, PlayerState stateBefore, PlayReport& report) const
{
    const Player& ship = *game->player;
    if (stateBefore == Exploding || ship.state != Exploding)
        return false;
    PlayReport::Death death = {step, ship.x, ship.y, PlayReport::Unexplained};
    // The terrain is tested before the aliens in a step: a ship touching both died of the terrain.
    if (ship.hitsTerrain(*game->level)) {
        death.cause = PlayReport::ByTerrain;
    } else {
        for (const Alien* alien : game->aliens)
            if (alien->exploding && alien->collidesWith(ship))
                death.cause = PlayReport::ByAlien;
    }
    report.deaths.push_back(death);
    return death.cause == PlayReport::ByAlien;
}

void Playthrough::noteAliens(int step, bool diedByAlien, PlayReport& report)
{
    const Player& ship = *game->player;
    const Level& level = *game->level;
    for (const Alien* alien : game->aliens) {
        if (alien->exploding || alien->activity != Active || ship.state != Flying)
            continue;
        const int distance = (int)(std::fabs(alien->x - ship.x) + std::fabs(alien->y - ship.y));
        int& closest = report.fates[fateOf[alien]].closest;
        if (closest < 0 || distance < closest)
            closest = distance;
    }

    std::set<const Alien*> present(game->aliens.begin(), game->aliens.end());
    for (const AlienBefore& seen : before) {
        if (seen.exploding)
            continue;
        PlayReport::Fate fate = PlayReport::Remaining;
        if (present.count(seen.alien)) {
            if (!seen.alien->exploding)
                continue;
            if (diedByAlien && seen.alien->collidesWith(ship))
                fate = PlayReport::Rammed;
            else if (seen.alien->hitsTerrain(level))
                fate = PlayReport::Crashed;
            else
                fate = PlayReport::Shot;
        } else if (seen.activity == Dormant) {
            // Blown up and off screen in the same step: only shots reach past the right edge.
            if (alienProbe && alienProbe->hitsAt(level, 0, (int)seen.x, (int)seen.y))
                fate = PlayReport::Crashed;
            else
                fate = PlayReport::Shot;
        } else {
            fate = PlayReport::Gone;
        }
        report.count(fate);
        PlayReport::AlienFate& record = report.fates[fateOf[seen.alien]];
        record.fate = fate;
        record.step = step;
        record.x = (int)seen.x;
        record.y = (int)seen.y;
        if (fate == PlayReport::Rammed)
            record.closest = 0;
    }
}

bool Playthrough::finished(int step, int endSince) const
{
    // A protected ship may still sit in a wall: only a flying one has made it.
    if (step - endSince < SettleSteps || game->player->state != Flying)
        return false;
    for (const Alien* alien : game->aliens)
        if (alien->exploding || alien->activity == Active)
            return false;
    return true;
}
