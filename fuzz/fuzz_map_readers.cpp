#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Diagnostics.h"
#include "TiledMap.h"

namespace {

// Where the results are summed, so that reading them is not optimised away.
volatile uint64_t touched = 0;

// A map whose files come from memory: the map at its own path, and one tileset at every other path it names.
class MemoryMap : public TiledMap {
public:
    MemoryMap(const std::string& mapPath, const std::string& mapBytes, const std::string& tilesetBytes)
        : mapPath(mapPath), mapBytes(mapBytes), tilesetBytes(tilesetBytes)
    {
    }

    std::string readMapFile(const std::string& path, std::string& contents) override
    {
        contents = path == mapPath ? mapBytes : tilesetBytes;
        return "";
    }

private:
    std::string mapPath;
    std::string mapBytes;
    std::string tilesetBytes;
};

}

// The first byte names the map TMX (even) or JSON (odd); the bytes after it up to the first NUL are the map,
// the rest the tileset file that any "source" of the map reads. A tileset's format follows the name the map
// gives it, and its contents when that name says neither.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    size_t split = bytes.find('\0');
    std::string mapBytes = bytes.substr(0, split);
    std::string tilesetBytes = split == std::string::npos ? "" : bytes.substr(split + 1);
    std::string path = data[0] % 2 == 0 ? "maps/fuzz.tmx" : "maps/fuzz.tmj";

    MemoryMap map(path, mapBytes, tilesetBytes);
    Diagnostics diagnostics;
    const int result = map.load(path, &diagnostics);
    if ((result == 0) != (diagnostics.count(Diagnostics::Error) == 0))
        abort();
    size_t text = 0;
    for (const Diagnostics::Entry& entry : diagnostics.entries)
        text += Diagnostics::format(entry).size();
    touched = touched + text;
    if (result != 0)
        return 0;

    uint64_t sum = 0;
    for (const TiledMap::Layer& layer : map.layers) {
        // A hidden layer is never decoded.
        if (!layer.look.visible) {
            if (!layer.chunks.empty() || !layer.gids.empty())
                abort();
            continue;
        }
        const size_t cells = static_cast<size_t>(layer.width) * static_cast<size_t>(layer.height);
        if (layer.gids.size() != cells || layer.cellChunk.size() != cells || layer.cellIndex.size() != cells)
            abort();
        for (size_t cell = 0; cell < cells; ++cell) {
            const uint32_t gid = layer.gids[cell] & TiledMap::GidBits;
            sum += gid;
            const TiledMap::Tileset* tileset = map.tilesetOf(gid);
            if (tileset && tileset->firstGid > gid)
                abort();
        }
        // The first and last cells' places: where a problem of a cell would be told.
        if (cells > 0)
            sum += static_cast<uint64_t>(map.cellPlace(layer, 0).line + map.cellPlace(layer, cells - 1).line);
    }
    for (const TiledMap::ObjectLayer& layer : map.objectLayers) {
        for (const TiledMap::Object& object : layer.objects)
            sum += object.gid + object.shape.size();
    }
    for (const TiledMap::Tileset& tileset : map.tilesets)
        sum += tileset.tiles.size() + tileset.image.size();
    touched = touched + sum;
    return 0;
}
