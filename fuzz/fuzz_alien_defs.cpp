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
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzWorld::initialize();
    FuzzWorld::game();
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
    game->elapsedTicks = 3;
    for (int step = 0; step < 300 && game->lives >= 0; ++step) {
        game->ticks.fetch_add(1);
        game->logicStep();
    }
    game->runFrame();
    FuzzWorld::resetGame();
    RenderLog::clear();
    return 0;
}
