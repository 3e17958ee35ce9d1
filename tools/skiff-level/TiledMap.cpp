#include "TiledMap.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <exception>

#include "Diagnostics.h"
#include "TiledReader.h"
#include "core/FileBytes.h"
#include "level/LevelFormat.h"

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
      parallaxOrigin(false), diagnostics(nullptr), failed(false), cellsAsked(0), objectsRead(0)
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
    cellsAsked = 0;
    objectsRead = 0;
    file = path;
    place = Place{path, 0, ""};
    std::string contents;
    std::string why = readMapFile(path, contents);
    if (!why.empty()) {
        error(place, why);
        return -1;
    }
    // The libraries and containers throw when a hostile file asks too much of them; nothing else here does.
    TiledReader* reader = TiledReader::forContents(path, contents, *this);
    try {
        reader->readMap(path, contents);
        if (!failed)
            checkTilesets();
        if (!failed)
            makeGrids();
    } catch (const std::exception& problem) {
        error(place, std::string("cannot be read: ") + problem.what());
    }
    delete reader;
    return failed ? -1 : 0;
}

bool TiledMap::loadTileset(const std::string& path, const Place& namedAt, Tileset& tileset)
{
    std::string contents;
    std::string why = readMapFile(path, contents);
    if (!why.empty()) {
        error(namedAt, "the tileset file \"" + path + "\" " + why);
        return false;
    }
    TiledReader* reader = TiledReader::forContents(path, contents, *this);
    bool read = false;
    try {
        read = reader->readTileset(path, contents, tileset);
    } catch (const std::exception& problem) {
        error(Place{path, 0, ""}, std::string("the tileset file cannot be read: ") + problem.what());
    }
    delete reader;
    return read;
}

std::string TiledMap::readMapFile(const std::string& path, std::string& contents)
{
    return readFile(path, contents, MaxFileBytes);
}

std::string TiledMap::readFile(const std::string& path, std::string& contents, int64_t maxBytes)
{
    return fileProblem(FileBytes::readAtMost(path, contents, maxBytes), maxBytes);
}

std::string TiledMap::fileProblem(int answer, int64_t maxBytes)
{
    switch (answer) {
    case FileBytes::Read:
        return "";
    case FileBytes::Missing:
        return "does not exist";
    case FileBytes::NotRegular:
        return "is not a regular file (a directory, FIFO, device or socket)";
    case FileBytes::TooLarge:
        return "is larger than " + Diagnostics::number(maxBytes >> 20) + " MB";
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

bool TiledMap::fits(int64_t columns, int64_t rows, const Place& at, const std::string& what)
{
    if (columns > MaxCells || rows > MaxCells || columns * rows > MaxCells) {
        error(at, what + " is " + Diagnostics::size(columns, rows) + " cells: the importer reads at most " +
                      Diagnostics::grouped(MaxCells) + " cells a layer");
        return false;
    }
    // Each part may be small and the parts many: a few kilobytes of map could otherwise ask for gigabytes.
    if (cellsAsked + columns * rows > MaxMapCells) {
        error(at, what + " brings the map's cells, over all its layers and chunks, past the " +
                      Diagnostics::grouped(MaxMapCells) + " the importer reads");
        return false;
    }
    cellsAsked += columns * rows;
    return true;
}

bool TiledMap::objectFits(const Place& at)
{
    if (objectsRead++ < LevelFormat::MaxAliens)
        return true;
    if (objectsRead == LevelFormat::MaxAliens + 1)
        error(at, "the map holds more than " + Diagnostics::grouped(LevelFormat::MaxAliens) +
                      " objects, the most aliens the game places: the importer reads no more");
    return false;
}

void TiledMap::checkTilesets()
{
    for (const Tileset& tileset : tilesets) {
        std::string owner = "tileset " + Diagnostics::quoted(tileset.name) + ": ";
        struct Least {
            const char* what;
            int value;
            int least;
        };
        const Least sizes[] = {{"tile width", tileset.tileWidth, 1}, {"tile height", tileset.tileHeight, 1},
                               {"margin", tileset.margin, 0}, {"spacing", tileset.spacing, 0}};
        for (const Least& size : sizes) {
            if (size.value < size.least)
                error(tileset.place, owner + size.what + " " + std::to_string(size.value) + " must be " +
                                         std::to_string(size.least) + " or more");
        }
        for (const std::pair<const int, TileImage>& tile : tileset.tiles) {
            const TileImage& image = tile.second;
            std::string which = owner + "tile " + std::to_string(tile.first) + "'s ";
            // A width or height of -1 stands for the whole picture.
            const Least corners[] = {{"x", image.x, 0}, {"y", image.y, 0}, {"width", image.width, 1},
                                     {"height", image.height, 1}};
            for (const Least& corner : corners) {
                if (corner.value < corner.least && !(corner.least == 1 && corner.value == -1))
                    error(tileset.place, which + corner.what + " " + std::to_string(corner.value) + " must be " +
                                             std::to_string(corner.least) + " or more");
            }
        }
    }
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
        if (!fits(right - left, bottom - top, place, "the chunks' bounding box"))
            return;
        width = static_cast<int>(right - left);
        height = static_cast<int>(bottom - top);
        originX = static_cast<int>(left) * tileWidth;
        originY = static_cast<int>(top) * tileHeight;
    }
    for (Layer& layer : layers) {
        // A hidden layer is left out of the level, so it gets no grid.
        if (!layer.look.visible)
            continue;
        if (infinite) {
            layer.width = width;
            layer.height = height;
        }
        if (!fits(layer.width, layer.height, layer.look.place, "layer " + Diagnostics::quoted(layer.look.name)))
            return;
        size_t cells = static_cast<size_t>(layer.width) * static_cast<size_t>(layer.height);
        layer.gids.assign(cells, 0);
        layer.cellChunk.assign(cells, -1);
        layer.cellIndex.assign(cells, 0);
        int x0 = infinite ? static_cast<int>(left) : 0;
        int y0 = infinite ? static_cast<int>(top) : 0;
        for (size_t k = 0; k < layer.chunks.size(); ++k) {
            const Chunk& chunk = layer.chunks[k];
            for (int i = 0; i < chunk.width * chunk.height; ++i) {
                size_t cell = static_cast<size_t>(static_cast<int64_t>(chunk.y) - y0 + i / chunk.width) * layer.width +
                              static_cast<size_t>(static_cast<int64_t>(chunk.x) - x0 + i % chunk.width);
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
