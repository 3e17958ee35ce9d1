#include "Autopilot.h"

#include <allegro.h>

#include <algorithm>
#include <cstdlib>

#include "FlightPlan.h"
#include "FreeSpace.h"
#include "aliens/HomingAlien.h"
#include "core/Game.h"
#include "headless/Probe.h"
#include "level/Level.h"
#include "level/LevelFormat.h"
#include "level/Tileset.h"
#include "render/Screen.h"
#include "sprites/Player.h"
#include "sprites/Shot.h"

namespace {
const int Horizon = 28;         // steps rehearsed ahead
const int ShortHold = 6;        // a move tried briefly before going back to the plan
const int ThreatRange = 150;    // Manhattan distance within which an alien is rehearsed
const double AimWeight = 2.0;   // per pixel between the ship and the aimed-at height
const int BandLeft = 60;        // the ship keeps its screen x in this band when it can
const int BandRight = 110;
const int FlatColumns = 16;     // plan columns that must be nearly level before speeding up
const int FlatClimb = 8;
const int RingSize = 16;
const int ShotReach = ScreenWidth;  // shots leave past this screen x

int sign(int value)
{
    return (value > 0) - (value < 0);
}

// splitmix64's finaliser: every input bit stirs every output bit.
uint64_t mix(uint64_t value)
{
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

// Keys of the draws, so that different questions about the same alien or step differ.
enum { NoticeKey = 1, AimKey = 2, LapseKey = 3, LapseLengthKey = 4, LagKey = 5 };
const int LapseOdds = 600;  // a lapse starts at about one step in this many
}

Autopilot::Autopilot(const FreeSpace& freeSpace, const FlightPlan& flightPlan)
    : Pilot(true),
      room(freeSpace),
      plan(flightPlan),
      human(false),
      seed(0),
      perceptionLag(0),
      lapseUntil(-1),
      shadow(new Player()),
      shipProbe(nullptr),
      shotProbe(nullptr)
{
}

Autopilot::~Autopilot()
{
    for (HomingAlien* body : pool)
        delete body;
    delete shadow;
    delete shipProbe;
    delete shotProbe;
}

void Autopilot::makeHuman(unsigned humanSeed)
{
    human = true;
    seed = humanSeed;
    perceptionLag = draw(LagKey, 0, 3, 8);
}

int Autopilot::draw(int first, int second, int low, int high) const
{
    const uint64_t value = mix(mix(mix(seed) ^ (uint32_t)first) ^ (uint32_t)second);
    return low + (int)(value % (uint64_t)(high - low + 1));
}

void Autopilot::ensurePool(const Game& game)
{
    if (!shipProbe && game.player)
        shipProbe = new Probe(*game.player);
    if (!shotProbe && !game.shotPrototypes.empty())
        shotProbe = new Probe(*game.shotPrototypes[0]);
    if (game.alienPrototypes.empty())
        return;
    while (pool.size() < threats.size()) {
        HomingAlien* body = new HomingAlien();
        body->copyFramesFrom(*game.alienPrototypes[0]);
        body->level = game.level;
        body->renderer = nullptr;
        body->speed = 1.0;
        body->target = shadow;
        pool.push_back(body);
    }
}

void Autopilot::observe(const Game& game, int step)
{
    for (const Alien* alien : game.aliens) {
        if (alien->exploding || alien->activity != Active)
            continue;
        const HomingAlien* homing = dynamic_cast<const HomingAlien*>(alien);
        if (!homing)
            continue;
        std::map<const Alien*, Sighting>::iterator found = sightings.find(alien);
        if (found == sightings.end()) {
            Sighting seen;
            seen.firstSeen = step;
            // Just woken, the alien is still where it waited.
            const int waitedAt = ((int)alien->x << 12) ^ (int)alien->y;
            seen.noticeDelay = human ? draw(NoticeKey, waitedAt, 12, 35) : 0;
            seen.aimOffset = human ? draw(AimKey, waitedAt, -6, 6) : 0;
            seen.fixedX.assign(RingSize, 0);
            seen.fixedY.assign(RingSize, 0);
            seen.heading.assign(RingSize, 0);
            seen.newest = -1;
            seen.count = 0;
            found = sightings.insert(std::make_pair(alien, seen)).first;
        }
        Sighting& seen = found->second;
        seen.newest = (seen.newest + 1) % RingSize;
        seen.fixedX[seen.newest] = homing->fixedX;
        seen.fixedY[seen.newest] = homing->fixedY;
        seen.heading[seen.newest] = homing->heading;
        seen.count = std::min(seen.count + 1, RingSize);
    }
}

bool Autopilot::perceive(const Alien* alien, int step, int& fixedX, int& fixedY, int& heading) const
{
    std::map<const Alien*, Sighting>::const_iterator found = sightings.find(alien);
    if (found == sightings.end() || found->second.count == 0)
        return false;
    const Sighting& seen = found->second;
    if (step - seen.firstSeen < seen.noticeDelay)
        return false;
    const int back = std::min(perceptionLag, seen.count - 1);
    const int at = (seen.newest - back + RingSize) % RingSize;
    fixedX = seen.fixedX[at];
    fixedY = seen.fixedY[at];
    heading = seen.heading[at];
    return true;
}

int Autopilot::plannedHeight(int x, int y, int aimY, double aimWeight) const
{
    int target = plan.canMove(x, y, y) ? plan.nextHeight(x, y, aimY, aimWeight) : -1;
    if (target < 0)
        target = plan.recoveryHeight(x, y);
    return target;
}

bool Autopilot::flatAhead(int x, int y) const
{
    int climbed = 0;
    for (int column = 0; column < FlatColumns && climbed <= FlatClimb; ++column) {
        const int next = plan.nextHeight(x, y, 0, 0.0);
        if (next < 0)
            return false;
        climbed += std::abs(next - y);
        y = next;
        x += FlightPlan::ColumnWidth;
    }
    return climbed <= FlatClimb;
}

int Autopilot::rehearse(const Game& game, int step, int vertical, int horizontal, int hold)
{
    const Player& ship = *game.player;
    const Level& level = *game.level;
    const Tileset& map = *level.mainTileset;
    double scroll = map.scrollX;
    const int32_t mapWidth = map.pixelWidth();
    double shipX = ship.x;
    double shipY = ship.y;
    bool flying = ship.state == Flying;
    int fireTicks = ship.fireTicks;
    const int fireDelay = ship.shotPrototype ? ship.shotPrototype->fireDelay : 5;
    const double shotSpeed = ship.shotPrototype ? (int)ship.shotPrototype->speed : 5;
    const int now = game.ticks.load();

    std::vector<std::pair<double, double> > shots;
    for (const Shot* shot : game.playerShots)
        shots.push_back(std::make_pair(shot->x, shot->y));

    rehearsed.clear();
    for (size_t i = 0; i < threats.size(); ++i) {
        int fixedX = 0, fixedY = 0, heading = 0;
        if (!perceive(threats[i], step, fixedX, fixedY, heading))
            continue;
        HomingAlien* body = pool[i];
        body->fixedX = fixedX;
        body->fixedY = fixedY;
        body->heading = heading;
        body->x = fixtoi(fixedX);
        body->y = fixtoi(fixedY);
        Rehearsed one = {body, true};
        rehearsed.push_back(one);
    }

    for (int i = 1; i <= Horizon; ++i) {
        if (LevelFormat::scroll(scroll, LevelFormat::ScrollStep, true, mapWidth, ScreenWidth))
            shipX += LevelFormat::ScrollStep;
        int up = vertical, side = horizontal;
        if (i > hold) {
            up = sign(plannedHeight((int)shipX, (int)shipY, 0, 0.0) - (int)shipY);
            side = 0;
        }
        shipY += ship.speed * up;
        shipX += ship.speed * side;
        shipX = std::max(scroll, std::min(scroll + ScreenWidth - ship.frameWidth, shipX));
        if (!flying && now + i - ship.respawnTick > Player::ProtectionTicks)
            flying = true;
        ++fireTicks;
        if (flying && fireTicks > fireDelay) {
            shots.push_back(std::make_pair((double)(int)(shipX + ship.frameWidth),
                                           (double)(int)(shipY + ship.frameHeight / 2)));
            fireTicks = 0;
        }
        if (flying && !room.fits((int)shipX, (int)shipY))
            return i;

        for (size_t s = 0; s < shots.size();) {
            shots[s].first += shotSpeed;
            bool spent = shots[s].first - scroll > ShotReach;
            if (!spent && shotProbe) {
                shotProbe->x = shots[s].first;
                shotProbe->y = shots[s].second;
                spent = shotProbe->hitsTerrain(level);
                for (size_t a = 0; a < rehearsed.size() && !spent; ++a) {
                    if (rehearsed[a].alive && rehearsed[a].body->collidesWith(*shotProbe)) {
                        rehearsed[a].alive = false;
                        spent = true;
                    }
                }
            }
            if (spent) {
                shots[s] = shots.back();
                shots.pop_back();
            } else {
                ++s;
            }
        }

        shadow->x = shipX;
        shadow->y = shipY;
        shadow->state = flying ? Flying : Protected;
        for (Rehearsed& one : rehearsed) {
            if (!one.alive)
                continue;
            if (flying && shipProbe) {
                shipProbe->x = shipX;
                shipProbe->y = shipY;
                for (size_t frame = 0; frame < shipProbe->frameMasks.size(); ++frame) {
                    shipProbe->frameIndex = (uint8_t)frame;
                    if (one.body->collidesWith(*shipProbe))
                        return i;
                }
            }
            if (one.body->hitsTerrain(level)) {
                one.alive = false;
                continue;
            }
            one.body->move();
        }
    }
    return 0;
}

void Autopilot::steer(const Game& game, int step)
{
    releaseKeys();
    key[KEY_SPACE] = 1;
    const Player* ship = game.player;
    if (!ship || !game.level || !game.level->mainTileset || (ship->state != Flying && ship->state != Protected))
        return;
    observe(game, step);

    const double scroll = game.level->mainTileset->scrollX;
    const int x = (int)ship->x;
    const int y = (int)ship->y;

    if (human && lapseUntil < step && draw(LapseKey, step, 0, LapseOdds - 1) == 0)
        lapseUntil = step + draw(LapseLengthKey, step, 20, 50);
    // In a lapse of attention the pilot still aims, but sees no alien coming for the ship.
    const bool attentive = !human || step > lapseUntil;
    threats.clear();
    int aimY = 0;
    double aimWeight = 0.0;
    int nearest = 1 << 30;
    for (const Alien* alien : game.aliens) {
        int fixedX = 0, fixedY = 0, heading = 0;
        if (alien->exploding || alien->activity != Active || !perceive(alien, step, fixedX, fixedY, heading))
            continue;
        const int alienX = fixtoi(fixedX);
        const int alienY = fixtoi(fixedY);
        if (attentive && std::abs(alienX - x) + std::abs(alienY - y) <= ThreatRange)
            threats.push_back(alien);
        if (alienX < x + ship->frameWidth || alienX - scroll > ShotReach || alienX >= nearest)
            continue;
        nearest = alienX;
        aimY = alienY + sightings[alien].aimOffset;
        aimWeight = AimWeight;
    }

    const int wantedY = plannedHeight(x, y, aimY, aimWeight);
    const bool flat = flatAhead(x, y);
    const double screenX = ship->x - scroll;
    int side = 0;
    if (screenX > BandRight)
        side = -1;
    else if (screenX < BandLeft && flat)
        side = 1;
    int up = sign(wantedY - y);
    const int plannedSide = side;

    if (!threats.empty()) {
        ensurePool(game);
        int bestSafety = -1;
        double bestCost = 0.0;
        for (int vertical = -1; vertical <= 1; ++vertical) {
            for (int horizontal = -1; horizontal <= 1; ++horizontal) {
                const double nextX = std::max(scroll, ship->x + LevelFormat::ScrollStep + ship->speed * horizontal);
                const int nextY = y + (int)ship->speed * vertical;
                if (ship->state == Flying && !room.fits((int)nextX, nextY))
                    continue;
                int safety = 0;
                const int holds[2] = {ShortHold, Horizon};
                for (int hold : holds) {
                    const int hit = rehearse(game, step, vertical, horizontal, hold);
                    safety = std::max(safety, hit == 0 ? Horizon + 1 : hit);
                }
                const double nextScreenX = nextX - scroll;
                double cost = std::abs(wantedY - nextY);
                cost += 0.5 * std::max(0.0, std::max(BandLeft - nextScreenX, nextScreenX - BandRight));
                if (horizontal == 1 && !flat)
                    cost += 50.0;
                if (horizontal != plannedSide)
                    cost += 0.5;
                if (safety > bestSafety || (safety == bestSafety && cost < bestCost)) {
                    bestSafety = safety;
                    bestCost = cost;
                    up = vertical;
                    side = horizontal;
                }
            }
        }
    }

    key[KEY_UP] = up < 0;
    key[KEY_DOWN] = up > 0;
    key[KEY_LEFT] = side < 0;
    key[KEY_RIGHT] = side > 0;
}
