#include <allegro.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "FuzzWorld.h"
#include "headless/RenderLog.h"
#include "level/Level.h"
#include "level/Tileset.h"

// A level description from the input, read against a datafile made in memory, then scrolled and drawn.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    Level level(FuzzWorld::renderer());
    const int result = level.readDescription(in, FuzzWorld::datafile());
    if (result != 0 && result != -1)
        abort();
    if (result == 0) {
        if (level.tilesets.empty() || level.mainTileset != level.tilesets.back() || !level.mainTileset->bounded)
            abort();
        for (const Tileset* tileset : level.tilesets) {
            const size_t pictures = tileset->tilePictures.size();
            if (tileset->textures.size() != pictures || tileset->masks.size() != pictures ||
                tileset->tiles.size() != static_cast<size_t>(tileset->width) * static_cast<size_t>(tileset->height))
                abort();
            for (const Tile& tile : tileset->tiles) {
                if (tile.index >= pictures)
                    abort();
            }
        }
        // The ship's height sweeps past both edges of the map. Four steps reach every edge the 64 steps
        // of 25 pixels this once took did, on the same range of heights.
        for (int step = 0; step < 4; ++step) {
            level.update(100 + step, -400 + step * 525);
            level.draw();
            RenderLog::clear();
        }
    }
    if (!memchr(level.title, '\0', sizeof level.title))
        abort();
    RenderLog::clear();
    return 0;
}
