#include <allegro.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "FuzzWorld.h"
#include "aliens/Alien.h"
#include "aliens/AlienDefReader.h"
#include "core/Game.h"
#include "headless/RenderLog.h"

// An alien file from the input, read into a game built in code once; the aliens it places then fly a while.
namespace {

// Timer ticks a frame, as at about 33 frames a second.
const int FrameTicks = Game::StepsPerSecond / 33;

// The ship's entry does not depend on the input: it is placed at the first step, flies in until the
// 70th, is protected until the 202nd, and until it flies no alien hits it or steers towards it. So
// the aliens need not wait through it: they fly two steps at the start, two at the end of the fly-in
// and 12 from the end of the protection on, steering at the flying ship. The world's explosions have
// two frames of 12 ticks, so what is hit early in that leg explodes to its end within it.
struct Leg {
    int fromTick;
    int steps;
};
const Leg Legs[] = {{0, 2}, {68, 2}, {200, 12}};
const size_t LegCount = sizeof Legs / sizeof Legs[0];
int legMoments[LegCount];

void step(Game* game)
{
    game->ticks.fetch_add(1);
    game->logicStep();
}

}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzWorld::initialize();
    Game* game = FuzzWorld::game();
    game->elapsedTicks = FrameTicks;
    for (size_t leg = 0; leg < LegCount; ++leg) {
        while (game->ticks < Legs[leg].fromTick)
            step(game);
        legMoments[leg] = FuzzWorld::keepMoment();
    }
    FuzzWorld::resetGame();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    Game* game = FuzzWorld::game();
    AlienDefReader* reader = new AlienDefReader(game, in);
    delete reader;
    if (!game->aliens.empty() && game->alienPrototypes.empty())
        abort();
    game->elapsedTicks = FrameTicks;
    for (size_t leg = 0; leg < LegCount; ++leg) {
        FuzzWorld::moveTo(legMoments[leg]);
        for (int count = 0; count < Legs[leg].steps && game->lives >= 0; ++count)
            step(game);
    }
    game->runFrame();
    FuzzWorld::resetGame();
    RenderLog::clear();
    return 0;
}
