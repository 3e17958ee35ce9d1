#include "MapImport.h"

#include <allegro.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "DatafileWriter.h"
#include "Diagnostics.h"
#include "LayerPicture.h"
#include "Paths.h"
#include "TilePicture.h"
#include "core/DataPaths.h"
#include "render/Screen.h"

namespace {

const int MaxReported = 10;

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string number(int64_t value)
{
    return std::to_string(value);
}

std::string decimal(double value)
{
    char text[32];
    snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string objectName(const std::string& layer, size_t index)
{
    std::string name;
    for (char c : layer) {
        if (isalnum(static_cast<unsigned char>(c)))
            name.push_back(static_cast<char>(toupper(static_cast<unsigned char>(c))));
        else if (!name.empty() && name.back() != '_')
            name.push_back('_');
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    if (name.empty())
        name = "LAYER" + number(static_cast<int64_t>(index));
    return name + "_BMP";
}

std::string trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A property of the layer, or else of the map; null when neither has it.
const TiledMap::Property* property(const TiledMap::ObjectLayer& layer, const TiledMap& map, const std::string& name)
{
    TiledMap::Properties::const_iterator own = layer.properties.find(name);
    if (own != layer.properties.end())
        return &own->second;
    TiledMap::Properties::const_iterator shared = map.properties.find(name);
    return shared != map.properties.end() ? &shared->second : nullptr;
}

}

MapImport::MapImport(Diagnostics* sink) : diagnostics(sink), failed(false) {}

MapImport::~MapImport()
{
    for (std::map<std::string, BITMAP*>::iterator it = pictures.begin(); it != pictures.end(); ++it) {
        if (it->second)
            destroy_bitmap(it->second);
    }
    for (LayerPicture* picture : layerPictures)
        delete picture;
}

void MapImport::error(int line, const std::string& text)
{
    errorIn(map.file, line, text);
}

void MapImport::errorIn(const std::string& file, int line, const std::string& text)
{
    diagnostics->error(file, SourcePosition{line, 0}, text);
    failed = true;
}

int MapImport::keptTiles(double parallax, int mainPixels, int screenPixels, int tileSize, int available)
{
    double pixels = screenPixels + parallax * (mainPixels - screenPixels);
    int tiles = static_cast<int>(std::floor(pixels / tileSize + 0.5));
    int screenTiles = (screenPixels + tileSize - 1) / tileSize;
    if (tiles < screenTiles)
        tiles = screenTiles;
    if (tiles > available)
        tiles = available;
    return tiles < 1 ? 1 : tiles;
}

int MapImport::run(const std::string& mapPath, const std::string& outDirectory, const std::string& dataRoot)
{
    failed = false;
    if (map.load(mapPath, diagnostics) != 0)
        return Refused;
    if (map.layers.empty()) {
        error(0, "the map has no tile layer: the game needs at least one");
        return Refused;
    }
    const int tileSize = map.tileWidth;
    const TiledMap::Layer& main = map.layers.back();
    const int mainWidth = main.width * tileSize;
    const int mainHeight = main.height * tileSize;
    if (main.parallaxX != 1.0 || main.parallaxY != 1.0)
        error(main.line, "layer " + quoted(main.name) + ", the last tile layer, is the main tileset: it scrolls with "
                         "the map, so its parallax factors must be 1");
    if (mainWidth > MaxCoordinate || mainHeight > MaxCoordinate)
        error(main.line, "the map is " + number(mainWidth) + " x " + number(mainHeight) +
                             " pixels: the aliens' 16.16 fixed point holds positions up to 32,767 pixels");

    std::string name = title();
    levelText = "LEVELDEF " + name + "\n";
    DatafileWriter writer;
    for (size_t i = 0; i < map.layers.size(); ++i) {
        const TiledMap::Layer& layer = map.layers[i];
        int keptWidth = layer.width;
        int keptHeight = layer.height;
        if (i + 1 < map.layers.size()) {
            if (layer.parallaxX < 0.0 || layer.parallaxX > 1.0 || layer.parallaxY < 0.0 || layer.parallaxY > 1.0) {
                error(layer.line, "layer " + quoted(layer.name) + " has parallax " + decimal(layer.parallaxX) + " x " +
                                      decimal(layer.parallaxY) +
                                      ": a background layer scrolls at 0 to 1 times the speed of the map");
                continue;
            }
            keptWidth = keptTiles(layer.parallaxX, mainWidth, ScreenWidth, tileSize, layer.width);
            keptHeight = keptTiles(layer.parallaxY, mainHeight, ScreenHeight, tileSize, layer.height);
        }
        std::string block;
        if (importLayer(i, keptWidth, keptHeight, block, writer))
            levelText += block;
    }
    importAliens(dataRoot);
    if (failed)
        return Refused;

    datafile = writer.contents();
    if (!Paths::makeDirectories(outDirectory)) {
        diagnostics->error(outDirectory, SourcePosition{0, 0}, "cannot be made");
        return Refused;
    }
    const std::string files[3] = {DataPaths::LevelDescription, DataPaths::LevelPictures, DataPaths::AlienFile};
    const std::string* contents[3] = {&levelText, &datafile, &aliensText};
    for (int i = 0; i < 3; ++i) {
        std::string path = Paths::join(outDirectory, files[i]);
        if (!Paths::write(path, *contents[i])) {
            diagnostics->error(path, SourcePosition{0, 0}, "cannot be written");
            return Refused;
        }
    }
    return Imported;
}

std::string MapImport::title()
{
    TiledMap::Properties::const_iterator given = map.properties.find("title");
    std::string name = given == map.properties.end() ? Paths::stem(map.file) : trimmed(given->second.value);
    int line = given == map.properties.end() ? 0 : given->second.line;
    if (name.find_first_of("\r\n") != std::string::npos)
        error(line, "the title must be one line");
    else if (name.size() > 127)
        error(line, "the title is " + number(static_cast<int64_t>(name.size())) +
                              " characters long: the game keeps 127 at most");
    else if (name.empty() || name.compare(0, 2, "{ ") == 0 || name == "{")
        error(line, "the title must not be empty or start with \"{\", which reads as a block");
    return name;
}

BITMAP* MapImport::tilesetPicture(const TiledMap::Tileset& tileset)
{
    std::map<std::string, BITMAP*>::iterator known = pictures.find(tileset.image);
    if (known != pictures.end())
        return known->second;
    std::string problem;
    BITMAP* picture = TilePicture::load(tileset.image, tileset.transparentColour, problem);
    if (!picture)
        errorIn(tileset.file, tileset.imageLine, "the picture " + quoted(tileset.image) + " of tileset " +
                                                     quoted(tileset.name) + " " + problem);
    pictures[tileset.image] = picture;
    return picture;
}

bool MapImport::importLayer(size_t index, int keptWidth, int keptHeight, std::string& block, DatafileWriter& writer)
{
    const TiledMap::Layer& layer = map.layers[index];
    const int tileSize = map.tileWidth;
    std::string called = "layer " + quoted(layer.name);
    bool good = true;
    int cutOff = 0;
    int flipped = 0;
    std::map<uint32_t, int> firstLine;
    for (int r = 0; r < layer.height; ++r) {
        for (int c = 0; c < layer.width; ++c) {
            size_t cell = static_cast<size_t>(r) * layer.width + c;
            uint32_t gid = layer.gids[cell];
            if (gid == 0)
                continue;
            if (r >= keptHeight || c >= keptWidth) {
                ++cutOff;
                continue;
            }
            if (gid & TiledMap::FlipBits) {
                if (flipped++ < MaxReported)
                    error(layer.gidLines[cell], called + ", column " + number(c) + ", row " + number(r) +
                                                    ": the tile is flipped or rotated, which the game cannot draw");
                good = false;
                continue;
            }
            if (!firstLine.count(gid))
                firstLine[gid] = layer.gidLines[cell];
        }
    }
    if (cutOff > 0)
        diagnostics->warning(map.file, SourcePosition{layer.line, 0},
                             called + " keeps its first " + number(keptWidth) + " columns and " + number(keptHeight) +
                                 " rows for its parallax " + decimal(layer.parallaxX) + " x " +
                                 decimal(layer.parallaxY) + ": " + number(cutOff) +
                                 (cutOff == 1 ? " tile beyond them is" : " tiles beyond them are") + " left out");
    if (firstLine.size() > MaxTiles) {
        error(layer.line, called + " uses " + number(static_cast<int64_t>(firstLine.size())) +
                              " different tiles: a layer holds at most 255 besides the empty tile");
        return false;
    }

    LayerPicture* picture = new LayerPicture(tileSize, static_cast<int>(firstLine.size()) + 1);
    layerPictures.push_back(picture);
    if (!picture->picture) {
        error(layer.line, called + ": its picture cannot be made");
        return false;
    }
    std::map<uint32_t, int> tileNumber;
    std::set<const TiledMap::Tileset*> refused;
    int k = 0;
    for (std::map<uint32_t, int>::const_iterator it = firstLine.begin(); it != firstLine.end(); ++it) {
        uint32_t gid = it->first;
        tileNumber[gid] = ++k;
        const TiledMap::Tileset* tileset = map.tilesetOf(gid);
        if (!tileset) {
            error(it->second, called + ": tile " + number(gid) + " belongs to no tileset");
            good = false;
            continue;
        }
        if (refused.count(tileset)) {
            good = false;
            continue;
        }
        if (tileset->image.empty()) {
            errorIn(tileset->file, tileset->line, "tileset " + quoted(tileset->name) + ", used by " + called +
                                                      ", is a collection of images: tile layers need one picture "
                                                      "cut into tiles");
            refused.insert(tileset);
            good = false;
            continue;
        }
        if (tileset->tileWidth != tileSize || tileset->tileHeight != tileSize) {
            errorIn(tileset->file, tileset->line,
                    "tileset " + quoted(tileset->name) + " has " + number(tileset->tileWidth) + " x " +
                        number(tileset->tileHeight) + " pixel tiles, the map " + number(tileSize) + " x " +
                        number(tileSize) + ": every tile of a level has the map's size");
            refused.insert(tileset);
            good = false;
            continue;
        }
        BITMAP* source = tilesetPicture(*tileset);
        if (!source) {
            refused.insert(tileset);
            good = false;
            continue;
        }
        int step = tileSize + tileset->spacing;
        int columns = (source->w - tileset->margin + tileset->spacing) / step;
        int rows = (source->h - tileset->margin + tileset->spacing) / step;
        int id = static_cast<int>(gid - tileset->firstGid);
        if (columns < 1 || id >= columns * rows) {
            error(it->second, called + ": tile " + number(gid) + " is tile " + number(id) + " of tileset " +
                                  quoted(tileset->name) + ", whose picture holds " +
                                  number(columns > 0 ? columns * rows : 0) + " tiles");
            good = false;
            continue;
        }
        picture->setTile(k, source, tileset->margin + (id % columns) * step, tileset->margin + (id / columns) * step);
    }
    if (!good)
        return false;

    block = "{ tileset " + number(static_cast<int64_t>(index)) + " " + number(tileSize) + " " + number(keptWidth) +
            " " + number(keptHeight) + "\n";
    for (int r = 0; r < keptHeight; ++r) {
        for (int c = 0; c < keptWidth; ++c) {
            uint32_t gid = layer.gids[static_cast<size_t>(r) * layer.width + c];
            block += (c ? " " : "") + number(gid ? tileNumber[gid] : 0);
        }
        block += "\n";
    }
    block += "}\n";
    writer.addBitmap(picture->picture, objectName(layer.name, index));
    return true;
}

bool MapImport::alienPicture(const TiledMap::Object& object, const std::string& dataRoot, std::string& picture)
{
    uint32_t gid = object.gid & TiledMap::GidBits;
    const TiledMap::Tileset* tileset = map.tilesetOf(gid);
    if (!tileset) {
        error(object.line, "the alien's tile " + number(gid) + " belongs to no tileset");
        return false;
    }
    int id = static_cast<int>(gid - tileset->firstGid);
    std::string path;
    std::map<int, std::string>::const_iterator own = tileset->tileImages.find(id);
    if (own != tileset->tileImages.end())
        path = own->second;
    else if (!tileset->image.empty() && tileset->tileCount == 1)
        path = tileset->image;
    if (path.empty()) {
        error(object.line, "the alien's tile is one of several in the picture of tileset " + quoted(tileset->name) +
                               ": the game needs a picture of its own (use a collection of images, or give the "
                               "layer an \"image\" property)");
        return false;
    }
    std::string rest;
    if (!Paths::inside(Paths::absolute(path), Paths::absolute(dataRoot), rest)) {
        error(object.line, "the alien picture " + quoted(path) + " lies outside the game's data directory " +
                               quoted(dataRoot) + ", where the game looks for it");
        return false;
    }
    picture = rest;
    return true;
}

bool MapImport::importAliens(const std::string& dataRoot)
{
    const TiledMap::ObjectLayer* layer = nullptr;
    for (const TiledMap::ObjectLayer& candidate : map.objectLayers) {
        if (candidate.name != "aliens")
            continue;
        if (layer) {
            error(candidate.line, "a second object layer named \"aliens\": the aliens must be in one layer");
            return false;
        }
        layer = &candidate;
    }
    aliensText = "ALIENPROTOS 0\nALIENDEF 0\n";
    if (!layer)
        return true;

    std::string picture;
    int pictureLine = layer->line;
    const TiledMap::Property* given = property(*layer, map, "image");
    if (given) {
        picture = given->value;
        pictureLine = given->line;
    } else {
        for (const TiledMap::Object& object : layer->objects) {
            if (object.gid != 0) {
                if (!alienPicture(object, dataRoot, picture))
                    return false;
                pictureLine = object.line;
                break;
            }
        }
    }
    if (picture.empty() && !layer->objects.empty()) {
        error(layer->line, "the aliens need a picture: place them as tile objects of the alien's picture, or give "
                           "the layer an \"image\" property such as bmp/alien.bmp");
        return false;
    }

    int explosion = 0;
    const TiledMap::Property* kind = property(*layer, map, "explosion");
    if (kind) {
        if (kind->value != "0" && kind->value != "1") {
            error(kind->line, "explosion " + quoted(kind->value) +
                                  ": the game has explosion 0 (bmp/boom.bmp) and 1 (bmp/boom2.bmp)");
            return false;
        }
        explosion = kind->value == "1";
    }

    std::string placements;
    int placed = 0;
    bool good = true;
    for (const TiledMap::Object& object : layer->objects) {
        double x = object.x;
        double y = object.y;
        if (object.gid != 0) {
            if (object.gid & TiledMap::FlipBits) {
                error(object.line, "the alien is flipped: the game draws aliens as their picture is");
                good = false;
                continue;
            }
            const TiledMap::Tileset* tileset = map.tilesetOf(object.gid);
            double w = object.hasSize || !tileset ? object.width : tileset->tileWidth;
            double h = object.hasSize || !tileset ? object.height : tileset->tileHeight;
            // Tiled anchors tile objects at a corner or edge of their picture, bottom-left unless told otherwise.
            std::string align = tileset ? tileset->alignment : "";
            if (align == "top" || align == "center" || align == "bottom")
                x -= w / 2;
            else if (align == "topright" || align == "right" || align == "bottomright")
                x -= w;
            if (align == "left" || align == "center" || align == "right")
                y -= h / 2;
            else if (align.empty() || align == "bottom" || align == "bottomright")
                y -= h;
        }
        double roundedX = std::floor(x + 0.5);
        double roundedY = std::floor(y + 0.5);
        if (roundedX < MinCoordinate || roundedX > MaxCoordinate || roundedY < MinCoordinate ||
            roundedY > MaxCoordinate) {
            error(object.line, "the alien's top-left corner (" + decimal(roundedX) + ", " + decimal(roundedY) +
                                   ") is beyond the -32,768 to 32,767 that the game holds");
            good = false;
            continue;
        }
        placements += "0 " + number(static_cast<int64_t>(roundedX)) + " " + number(static_cast<int64_t>(roundedY)) + "\n";
        ++placed;
    }
    if (!good)
        return false;
    if (!picture.empty()) {
        std::string extension = Paths::extension(picture);
        if (picture.size() > 127 || picture.find_first_of(" \t\r\n") != std::string::npos)
            error(pictureLine, "the alien picture " + quoted(picture) +
                                   " must be one word of at most 127 characters");
        else if (extension != "bmp" && extension != "pcx")
            error(pictureLine, "the alien picture " + quoted(picture) + " is no BMP or PCX: the game loads only those");
        if (failed)
            return false;
    }
    aliensText = "ALIENPROTOS " + std::string(picture.empty() ? "0\n" : "1\n0 " + picture + " " + number(explosion) + " 0\n") +
                 "ALIENDEF " + number(placed) + "\n" + placements;
    return true;
}
