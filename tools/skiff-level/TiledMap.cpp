#include "TiledMap.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "Diagnostics.h"
#include "TiledReader.h"
#include "core/FileBytes.h"

TiledMap::LayerLook::LayerLook()
    : visible(true), opacity(1.0), tinted(false), offsetX(0.0), offsetY(0.0), parallaxX(1.0), parallaxY(1.0)
{
}

void TiledMap::LayerLook::within(const LayerLook& group)
{
    visible = visible && group.visible;
    opacity *= group.opacity;
    tinted = tinted || group.tinted;
    offsetX += group.offsetX;
    offsetY += group.offsetY;
    parallaxX *= group.parallaxX;
    parallaxY *= group.parallaxY;
}

TiledMap::TiledMap()
    : infinite(false), width(0), height(0), tileWidth(0), tileHeight(0), originX(0), originY(0),
      parallaxOrigin(false), diagnostics(nullptr), failed(false)
{
}

TiledMap::~TiledMap() {}

void TiledMap::add(Diagnostics& into, Diagnostics::Severity severity, const Place& at, const std::string& text)
{
    into.add(severity, at.file, Diagnostics::Position{at.line, 0}, at.path.empty() ? text : at.path + ": " + text);
}

void TiledMap::error(const Place& at, const std::string& text)
{
    add(*diagnostics, Diagnostics::Error, at, text);
    failed = true;
}

void TiledMap::warning(const Place& at, const std::string& text)
{
    add(*diagnostics, Diagnostics::Warning, at, text);
}

void TiledMap::note(const Place& at, const std::string& text)
{
    add(*diagnostics, Diagnostics::Note, at, text);
}

int TiledMap::colour(const std::string& text)
{
    std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    char* end = nullptr;
    long value = strtol(digits.c_str(), &end, 16);
    bool hex = digits.size() == 6 && digits.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
    return hex && *end == '\0' ? static_cast<int>(value) : -2;
}

bool TiledMap::tints(const std::string& text)
{
    std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    return !digits.empty() && digits != "ffffff" && digits != "ffffffff" && digits != "FFFFFF" && digits != "FFFFFFFF";
}

int TiledMap::load(const std::string& path, Diagnostics* sink)
{
    diagnostics = sink;
    failed = false;
    file = path;
    place = Place{path, 0, ""};
    std::string contents;
    std::string why = readFile(path, contents);
    if (!why.empty()) {
        error(place, why);
        return -1;
    }
    TiledReader* reader = TiledReader::forContents(path, contents, *this);
    reader->readMap(path, contents);
    delete reader;
    if (failed)
        return -1;
    makeGrids();
    return failed ? -1 : 0;
}

bool TiledMap::loadTileset(const std::string& path, const Place& namedAt, Tileset& tileset)
{
    std::string contents;
    std::string why = readFile(path, contents);
    if (!why.empty()) {
        error(namedAt, "the tileset file \"" + path + "\" " + why);
        return false;
    }
    TiledReader* reader = TiledReader::forContents(path, contents, *this);
    bool read = reader->readTileset(path, contents, tileset);
    delete reader;
    return read;
}

std::string TiledMap::readFile(const std::string& path, std::string& contents)
{
    switch (FileBytes::readAtMost(path, contents, MaxFileBytes)) {
    case FileBytes::Read:
        return "";
    case FileBytes::Missing:
        return "does not exist";
    case FileBytes::NotRegular:
        return "is not a regular file (a directory, FIFO, device or socket)";
    case FileBytes::TooLarge:
        return "is larger than " + Diagnostics::number(MaxFileBytes >> 20) + " MB, more than any map needs";
    default:
        return "cannot be read";
    }
}

bool TiledMap::checkOrientation()
{
    if (orientation != "orthogonal") {
        error(place, "the map is " + (orientation.empty() ? std::string("without orientation") : orientation) +
                         ": only orthogonal maps can be imported, the game scrolls a square grid");
        return false;
    }
    return true;
}

bool TiledMap::checkTileSize()
{
    if (tileWidth != tileHeight) {
        error(place, "the map's tiles are " + Diagnostics::size(tileWidth, tileHeight) +
                         " pixels: the game's tiles are square");
        return false;
    }
    return true;
}

bool TiledMap::fits(int columns, int rows, const Place& at, const std::string& what)
{
    if (static_cast<int64_t>(columns) * rows <= MaxCells)
        return true;
    error(at, what + " is " + Diagnostics::size(columns, rows) +
                  " cells: the importer reads at most " + std::to_string(static_cast<int>(MaxCells)) +
                  " cells a layer");
    return false;
}

void TiledMap::makeGrids()
{
    int64_t left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (Layer& layer : layers) {
        for (Chunk& chunk : layer.chunks) {
            size_t expected = static_cast<size_t>(chunk.width) * static_cast<size_t>(chunk.height);
            if (chunk.gids.size() != expected)
                error(chunk.place, "layer \"" + layer.look.name + "\" has " + std::to_string(chunk.gids.size()) +
                                       " cells, not " + std::to_string(chunk.width) + " x " +
                                       std::to_string(chunk.height) + " = " + std::to_string(expected));
            left = std::min<int64_t>(left, chunk.x);
            top = std::min<int64_t>(top, chunk.y);
            right = std::max<int64_t>(right, static_cast<int64_t>(chunk.x) + chunk.width);
            bottom = std::max<int64_t>(bottom, static_cast<int64_t>(chunk.y) + chunk.height);
        }
    }
    if (failed)
        return;
    if (infinite) {
        if (right <= left) {
            error(place, "the infinite map holds no chunks of tiles");
            return;
        }
        if (left < INT_MIN / tileWidth || top < INT_MIN / tileHeight || right > INT_MAX / tileWidth ||
            bottom > INT_MAX / tileHeight) {
            error(place, "the infinite map's chunks lie too far from its origin");
            return;
        }
        if (!fits(static_cast<int>(right - left), static_cast<int>(bottom - top), place, "the chunks' bounding box"))
            return;
        width = static_cast<int>(right - left);
        height = static_cast<int>(bottom - top);
        originX = static_cast<int>(left) * tileWidth;
        originY = static_cast<int>(top) * tileHeight;
    }
    for (Layer& layer : layers) {
        if (infinite) {
            layer.width = width;
            layer.height = height;
        }
        size_t cells = static_cast<size_t>(layer.width) * static_cast<size_t>(layer.height);
        layer.gids.assign(cells, 0);
        layer.cellChunk.assign(cells, -1);
        layer.cellIndex.assign(cells, 0);
        int x0 = infinite ? static_cast<int>(left) : 0;
        int y0 = infinite ? static_cast<int>(top) : 0;
        for (size_t k = 0; k < layer.chunks.size(); ++k) {
            const Chunk& chunk = layer.chunks[k];
            for (int i = 0; i < chunk.width * chunk.height; ++i) {
                size_t cell = static_cast<size_t>(chunk.y + i / chunk.width - y0) * layer.width +
                              static_cast<size_t>(chunk.x + i % chunk.width - x0);
                layer.gids[cell] = chunk.gids[static_cast<size_t>(i)];
                layer.cellChunk[cell] = static_cast<int>(k);
                layer.cellIndex[cell] = i;
            }
        }
    }
}

TiledMap::Place TiledMap::cellPlace(const Layer& layer, size_t cell) const
{
    if (layer.cellChunk[cell] < 0)
        return layer.look.place;
    const Chunk& chunk = layer.chunks[static_cast<size_t>(layer.cellChunk[cell])];
    size_t index = static_cast<size_t>(layer.cellIndex[cell]);
    Place at = chunk.place;
    if (index < chunk.lines.size())
        at.line = chunk.lines[index];
    if (!at.path.empty())
        at.path += "[" + std::to_string(index) + "]";
    return at;
}

const TiledMap::Tileset* TiledMap::tilesetOf(uint32_t gid) const
{
    const Tileset* found = nullptr;
    for (const Tileset& tileset : tilesets) {
        if (tileset.firstGid <= gid && (!found || tileset.firstGid > found->firstGid))
            found = &tileset;
    }
    return found;
}
