#include "MapImport.h"

#include <allegro.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <set>

#include "Diagnostics.h"
#include "LayerPicture.h"
#include "LayerSelection.h"
#include "TileSource.h"
#include "core/DataPaths.h"
#include "core/FileBytes.h"
#include "level/DatafileCheck.h"
#include "level/DatafileWriter.h"
#include "level/LevelFormat.h"
#include "render/Screen.h"

namespace {

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
        name = "LAYER" + Diagnostics::number(static_cast<int64_t>(index));
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

// How the author knows a layer, and an object of a layer: "layer "far"", "object 7 "ufo" of layer "aliens"".
std::string called(const TiledMap::LayerLook& layer)
{
    return "layer " + Diagnostics::quoted(layer.name);
}

std::string called(const TiledMap::Object& object, const TiledMap::LayerLook& layer)
{
    return "object" + (object.id ? " " + Diagnostics::number(object.id) : "") +
           (object.name.empty() ? "" : " " + Diagnostics::quoted(object.name)) + " of " + called(layer);
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

// path absolute, with links, "." and ".." resolved as far as it exists; empty when that fails.
std::filesystem::path resolved(const std::string& path)
{
    std::error_code why;
    std::filesystem::path whole = std::filesystem::absolute(path, why);
    if (!why)
        whole = std::filesystem::weakly_canonical(whole, why);
    return why ? std::filesystem::path() : whole;
}

}

MapImport::MapImport(Diagnostics* sink) : verbose(false), diagnostics(sink), failed(false) {}

MapImport::~MapImport()
{
    for (LayerPicture* picture : layerPictures)
        delete picture;
}

void MapImport::error(const TiledMap::Place& place, const std::string& text)
{
    map.error(place, text);
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
    pictureSource.clear();
    blockOrigins.clear();
    alienOrigins.clear();
    if (map.load(mapPath, diagnostics) != 0)
        return Refused;
    LayerSelection selection(map);
    if (selection.tileLayers.empty()) {
        error(map.place, "the map has no visible tile layer: the game needs at least one");
        return Refused;
    }
    const int tileSize = map.tileWidth;
    if (tileSize > ScreenWidth) {
        error(map.place,
              "the map's tiles are " + Diagnostics::number(tileSize) + " pixels wide, wider than the screen");
        return Refused;
    }
    const int screenColumns = (ScreenWidth + tileSize - 1) / tileSize;
    const int screenRows = (ScreenHeight + tileSize - 1) / tileSize;
    const TiledMap::Layer& main = *selection.tileLayers.back();
    const int mainWidth = std::max(main.width, screenColumns) * tileSize;
    const int mainHeight = std::max(main.height, screenRows) * tileSize;
    if (main.width < screenColumns || main.height < screenRows)
        map.warning(map.place, "the map is " + Diagnostics::size(main.width * tileSize, main.height * tileSize) +
                                   " pixels, smaller than the " + Diagnostics::size(ScreenWidth, ScreenHeight) +
                                   " screen: empty cells fill it out to " + Diagnostics::size(mainWidth, mainHeight));
    if (main.look.parallaxX != 1.0 || main.look.parallaxY != 1.0)
        error(main.look.place, "layer " + Diagnostics::quoted(main.look.name) +
                                   ", the last tile layer, is the main tileset: it "
                                   "scrolls with the map, so its parallax factors must be 1");
    if (mainWidth > LevelFormat::MaxCoordinate || mainHeight > LevelFormat::MaxCoordinate)
        error(main.look.place, "the map is " + Diagnostics::size(mainWidth, mainHeight) +
                                   " pixels: the aliens' 16.16 fixed point holds positions up to " +
                                   Diagnostics::grouped(LevelFormat::MaxCoordinate) + " pixels");

    std::string name = title();
    std::vector<LevelText::Block> blocks;
    DatafileWriter writer;
    // The tileset pictures are let go as soon as the layers' own are made.
    TileSource* tiles = new TileSource(map);
    for (size_t i = 0; i < selection.tileLayers.size(); ++i) {
        const TiledMap::Layer& layer = *selection.tileLayers[i];
        int keptWidth = std::max(layer.width, screenColumns);
        int keptHeight = std::max(layer.height, screenRows);
        if (i + 1 < selection.tileLayers.size()) {
            const TiledMap::LayerLook& look = layer.look;
            // Written so that NaN, which compares false with everything, is refused too.
            if (!(look.parallaxX >= 0.0 && look.parallaxX <= 1.0 && look.parallaxY >= 0.0 && look.parallaxY <= 1.0)) {
                error(look.place, "layer " + Diagnostics::quoted(look.name) + " has parallax " +
                                      Diagnostics::decimal(look.parallaxX) + " x " +
                                      Diagnostics::decimal(look.parallaxY) +
                                      ": a background layer scrolls at 0 to 1 times the speed of the map");
                continue;
            }
            keptWidth = keptTiles(look.parallaxX, mainWidth, ScreenWidth, tileSize, keptWidth);
            keptHeight = keptTiles(look.parallaxY, mainHeight, ScreenHeight, tileSize, keptHeight);
        }
        LevelText::Block block;
        if (importLayer(layer, i, keptWidth, keptHeight, block, writer, *tiles)) {
            blocks.push_back(block);
            blockOrigins.push_back(Origin{layer.look.place, called(layer.look), 0, 0});
        }
    }
    delete tiles;
    importAliens(selection.alienLayers, dataRoot);
    if (failed)
        return Refused;

    std::vector<int> blockLines;
    levelText = LevelText::description(name, blocks, &blockLines);
    for (size_t i = 0; i < blockOrigins.size(); ++i) {
        blockOrigins[i].firstLine = blockLines[i];
        blockOrigins[i].lastLine = i + 1 < blockLines.size() ? blockLines[i + 1] - 1 : INT_MAX;
    }
    std::string datafile = writer.contents();
    // The layers' pictures are in the datafile now, and the check that follows loads them again.
    for (LayerPicture* picture : layerPictures)
        delete picture;
    layerPictures.clear();
    std::error_code why;
    std::filesystem::create_directories(outDirectory, why);
    if (why) {
        diagnostics->add(Diagnostics::Error, outDirectory, Diagnostics::WholeFile, "cannot be made");
        return Refused;
    }
    const std::string files[3] = {DataPaths::LevelDescription, DataPaths::LevelPictures, DataPaths::AlienFile};
    const std::string* contents[3] = {&levelText, &datafile, &aliensText};
    for (int i = 0; i < 3; ++i) {
        std::filesystem::path path = std::filesystem::path(outDirectory) / files[i];
        if (!FileBytes::write(path, *contents[i])) {
            diagnostics->add(Diagnostics::Error, path.string(), Diagnostics::WholeFile, "cannot be written");
            return Refused;
        }
    }
    if (!pictureSource.empty()) {
        std::string copy;
        std::filesystem::path path = std::filesystem::path(outDirectory) / std::filesystem::path(pictureSource).filename();
        if (!FileBytes::read(pictureSource, copy) || !FileBytes::write(path, copy)) {
            diagnostics->add(Diagnostics::Error, path.string(), Diagnostics::WholeFile,
                             "cannot be copied from " + pictureSource);
            return Refused;
        }
    }
    return Imported;
}

std::string MapImport::title()
{
    TiledMap::Properties::const_iterator given = map.properties.find("title");
    std::string name = given == map.properties.end() ? std::filesystem::path(map.file).stem().string()
                                                      : trimmed(given->second.value);
    TiledMap::Place place = given == map.properties.end() ? map.place : given->second.place;
    if (name.find_first_of("\r\n") != std::string::npos)
        error(place, "the title must be one line");
    else if (name.size() > LevelFormat::MaxNameLength)
        error(place, "the title is " + Diagnostics::number(static_cast<int64_t>(name.size())) +
                         " characters long: the game keeps " + Diagnostics::number(LevelFormat::MaxNameLength) +
                         " at most");
    else if (name.empty() || name.compare(0, 2, "{ ") == 0 || name == "{")
        error(place, "the title must not be empty or start with \"{\", which reads as a block");
    return name;
}

bool MapImport::importLayer(const TiledMap::Layer& layer, size_t index, int keptWidth, int keptHeight,
                            LevelText::Block& block, DatafileWriter& writer, TileSource& tiles)
{
    const int tileSize = map.tileWidth;
    std::string called = "layer " + Diagnostics::quoted(layer.look.name);
    int cutOff = 0;
    int variants = 0;
    // Each tile with its flip bits is a tile of its own; the cell it is first used in.
    std::map<uint32_t, size_t> firstCell;
    for (int r = 0; r < layer.height; ++r) {
        for (int c = 0; c < layer.width; ++c) {
            size_t cell = static_cast<size_t>(r) * layer.width + c;
            uint32_t gid = layer.gids[cell] & ~TiledMap::HexagonalBit;
            if (gid == 0)
                continue;
            if (r >= keptHeight || c >= keptWidth)
                ++cutOff;
            else if (!firstCell.count(gid)) {
                firstCell[gid] = cell;
                variants += (gid & TiledMap::FlipBits) != 0;
            }
        }
    }
    if (cutOff > 0 && verbose)
        map.note(layer.look.place,
                 called + " keeps its first " + Diagnostics::number(keptWidth) + " columns and " +
                     Diagnostics::number(keptHeight) + " rows for its parallax " +
                     Diagnostics::decimal(layer.look.parallaxX) + " x " +
                     Diagnostics::decimal(layer.look.parallaxY) + ": " + Diagnostics::number(cutOff) +
                     (cutOff == 1 ? " tile beyond them is" : " tiles beyond them are") + " left out");
    if (firstCell.size() >= LevelFormat::MaxTilePictures) {
        error(layer.look.place, called + " uses " + Diagnostics::number(static_cast<int64_t>(firstCell.size())) +
                                    " different tiles" +
                                    (variants ? ", counting each of its " + Diagnostics::number(variants) +
                                                    " flipped or rotated tiles as a tile of its own,"
                                              : "") +
                                    ": a layer holds at most " + Diagnostics::number(LevelFormat::MaxTilePictures - 1) +
                                    " besides the empty tile");
        return false;
    }
    warnAboutTiles(layer, firstCell);

    // Refused before the picture is made: the game's limit is far below what many large layers would take.
    int columns = 0, rows = 0;
    const int pictureTiles = static_cast<int>(firstCell.size()) + 1;
    LayerPicture::layout(pictureTiles, columns, rows);
    const int64_t datafileBytes = writer.unpackedSizeWith(static_cast<int64_t>(columns) * tileSize,
                                                          static_cast<int64_t>(rows) * tileSize,
                                                          objectName(layer.look.name, index));
    if (datafileBytes > DatafileCheck::MaxContentSize) {
        error(layer.look.place, called + ": its picture of " + Diagnostics::number(pictureTiles) + " tiles, " +
                                    Diagnostics::size(columns * tileSize, rows * tileSize) +
                                    " pixels, brings level.dat to " + Diagnostics::grouped(datafileBytes) + " bytes, " +
                                    Diagnostics::grouped(datafileBytes - DatafileCheck::MaxContentSize) +
                                    " more than the game loads: use fewer or smaller tiles, or fewer layers");
        return false;
    }
    LayerPicture* picture = new LayerPicture(tileSize, pictureTiles);
    layerPictures.push_back(picture);
    if (!picture->picture) {
        error(layer.look.place, called + ": its picture cannot be made");
        return false;
    }
    std::map<uint32_t, int> tileNumber;
    bool good = true;
    for (std::map<uint32_t, size_t>::const_iterator it = firstCell.begin(); it != firstCell.end(); ++it) {
        int k = static_cast<int>(tileNumber.size()) + 1;
        tileNumber[it->first] = k;
        BITMAP* source = nullptr;
        int x = 0, y = 0;
        if (tiles.find(it->first & TiledMap::GidBits, layer.look.name, map.cellPlace(layer, it->second), tileSize,
                       source, x, y))
            picture->setTile(k, source, x, y, it->first & TiledMap::FlipBits);
        else
            good = false;
    }
    failed = failed || !good;
    if (!good)
        return false;

    block = LevelText::Block{static_cast<int32_t>(index), tileSize, keptWidth, keptHeight, std::vector<int>()};
    block.cells.reserve(static_cast<size_t>(keptWidth) * keptHeight);
    for (int r = 0; r < keptHeight; ++r) {
        for (int c = 0; c < keptWidth; ++c) {
            uint32_t gid = r < layer.height && c < layer.width
                               ? layer.gids[static_cast<size_t>(r) * layer.width + c] & ~TiledMap::HexagonalBit
                               : 0;
            block.cells.push_back(gid ? tileNumber[gid] : 0);
        }
    }
    writer.addBitmap(picture->picture, objectName(layer.look.name, index));
    return true;
}

void MapImport::warnAboutTiles(const TiledMap::Layer& layer, const std::map<uint32_t, size_t>& used)
{
    std::string called = "layer " + Diagnostics::quoted(layer.look.name);
    std::set<const TiledMap::Tileset*> offsetShown;
    int animated = 0;
    uint32_t firstAnimated = 0;
    for (std::map<uint32_t, size_t>::const_iterator it = used.begin(); it != used.end(); ++it) {
        uint32_t gid = it->first & TiledMap::GidBits;
        const TiledMap::Tileset* tileset = map.tilesetOf(gid);
        if (!tileset)
            continue;
        std::map<int, TiledMap::TileImage>::const_iterator own =
            tileset->tiles.find(static_cast<int>(gid - tileset->firstGid));
        if (own != tileset->tiles.end() && own->second.animated && animated++ == 0)
            firstAnimated = gid;
        if ((tileset->offsetX != 0 || tileset->offsetY != 0) && offsetShown.insert(tileset).second)
            map.warning(layer.look.place, called + " uses tileset " + Diagnostics::quoted(tileset->name) +
                                              ", whose tile offset (" + Diagnostics::number(tileset->offsetX) + ", " +
                                              Diagnostics::number(tileset->offsetY) +
                                              ") the game does not show: its tiles stand on the grid");
    }
    if (animated > 0)
        map.warning(layer.look.place, called + " uses " + Diagnostics::number(animated) + " animated " +
                                          (animated == 1 ? "tile" : "tiles") + " (the first is tile " +
                                          Diagnostics::number(firstAnimated) +
                                          "): the game does not show tile animation, "
                                          "only each tile's own picture");
}

bool MapImport::alienPicture(const TiledMap::Object& object, const std::string& dataRoot, std::string& picture)
{
    uint32_t gid = object.gid & TiledMap::GidBits;
    const TiledMap::Tileset* tileset = map.tilesetOf(gid);
    if (!tileset) {
        error(object.place, "the alien's tile " + Diagnostics::number(gid) + " belongs to no tileset");
        return false;
    }
    int id = static_cast<int>(gid - tileset->firstGid);
    std::string path;
    std::map<int, TiledMap::TileImage>::const_iterator own = tileset->tiles.find(id);
    if (own != tileset->tiles.end() && own->second.width < 0)
        path = own->second.image;
    else if (!tileset->image.empty() && tileset->tileCount == 1)
        path = tileset->image;
    if (path.empty()) {
        error(object.place, "the alien's tile is one of several in the picture of tileset " +
                                Diagnostics::quoted(tileset->name) +
                                ": the game needs a picture of its own (use a collection of images, or give the "
                                "layer an \"image\" property)");
        return false;
    }
    return gamePicture(path, object.place, dataRoot, picture);
}

bool MapImport::gamePicture(const std::string& path, const TiledMap::Place& place, const std::string& dataRoot,
                            std::string& picture)
{
    std::error_code why;
    if (!std::filesystem::is_regular_file(path, why)) {
        error(place, "the alien picture " + Diagnostics::quoted(path) + " is not found");
        return false;
    }
    // One of the game's own pictures is named by its path from the game's working directory,
    // whatever links lead there; any other goes into the level, which the game sees as level0/.
    std::filesystem::path rest = resolved(path).lexically_relative(resolved(dataRoot));
    std::filesystem::path levelFolder = std::filesystem::path(DataPaths::Level).parent_path();
    if (!rest.empty() && rest != "." && *rest.begin() != ".." && *rest.begin() != levelFolder) {
        picture = rest.string();
        return true;
    }
    pictureSource = path;
    picture = DataPaths::Level + std::filesystem::path(path).filename().string();
    return true;
}

bool MapImport::importAliens(const std::vector<const TiledMap::ObjectLayer*>& layers, const std::string& dataRoot)
{
    aliensText = LevelText::aliens("", 0, std::vector<LevelText::Placement>());
    if (layers.empty())
        return true;
    const TiledMap::ObjectLayer* layer = layers[0];
    if (layers.size() > 1) {
        error(layers[1]->look.place, "a second object layer named \"aliens\": the aliens must be in one layer");
        return false;
    }

    std::string picture;
    TiledMap::Place picturePlace = layer->look.place;
    const TiledMap::Property* given = property(*layer, map, "image");
    if (given) {
        // As a file beside the map, as Tiled would find it, or else as the game names its own pictures.
        picturePlace = given->place;
        std::filesystem::path beside = std::filesystem::path(map.file).parent_path() / given->value;
        std::filesystem::path own = std::filesystem::path(dataRoot) / given->value;
        std::error_code why;
        std::string path = std::filesystem::is_regular_file(beside, why) ? beside.string() : own.string();
        if (!std::filesystem::is_regular_file(path, why)) {
            error(picturePlace, "the alien picture " + Diagnostics::quoted(given->value) +
                                    " is not found: it is neither beside the map (" + beside.string() +
                                    ") nor in the game's data (" + own.string() +
                                    "); give --data-root DIR to look in another data directory");
            return false;
        }
        if (!gamePicture(path, picturePlace, dataRoot, picture))
            return false;
    } else {
        for (const TiledMap::Object& object : layer->objects) {
            if (object.gid != 0) {
                if (!alienPicture(object, dataRoot, picture))
                    return false;
                picturePlace = object.place;
                break;
            }
        }
    }
    if (picture.empty() && !layer->objects.empty()) {
        error(layer->look.place,
              "the aliens need a picture: place them as tile objects of the alien's picture, or give "
              "the layer an \"image\" property such as bmp/alien.bmp");
        return false;
    }

    int explosion = 0;
    const TiledMap::Property* kind = property(*layer, map, "explosion");
    if (kind) {
        if (kind->value != "0" && kind->value != "1") {
            error(kind->place, "explosion " + Diagnostics::quoted(kind->value) +
                                  ": the game has explosion 0 (bmp/boom.bmp) and 1 (bmp/boom2.bmp)");
            return false;
        }
        explosion = kind->value == "1";
    }

    std::vector<LevelText::Placement> placements;
    bool good = true;
    for (const TiledMap::Object& object : layer->objects) {
        // Tiled draws the layer's objects moved by its offset, and an infinite map's grid starts at its first chunk.
        double x = object.x + layer->look.offsetX - map.originX;
        double y = object.y + layer->look.offsetY - map.originY;
        if (object.rotation != 0.0) {
            error(object.place, "the object is rotated: aliens are placed upright");
            good = false;
            continue;
        }
        if (object.shape != "" && object.shape != "point" && object.shape != "ellipse") {
            error(object.place, "the object is a " + object.shape +
                                    ": only tile objects, rectangles, ellipses and points can place aliens");
            good = false;
            continue;
        }
        if (object.gid != 0) {
            if (object.gid & TiledMap::FlipBits) {
                error(object.place, "the alien is flipped: the game draws aliens as their picture is");
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
        if (roundedX < LevelFormat::MinCoordinate || roundedX > LevelFormat::MaxCoordinate ||
            roundedY < LevelFormat::MinCoordinate || roundedY > LevelFormat::MaxCoordinate) {
            error(object.place, "the alien's top-left corner (" + Diagnostics::decimal(roundedX) + ", " +
                                    Diagnostics::decimal(roundedY) + ") is beyond the " +
                                    Diagnostics::grouped(LevelFormat::MinCoordinate) + " to " +
                                    Diagnostics::grouped(LevelFormat::MaxCoordinate) + " that the game holds");
            good = false;
            continue;
        }
        placements.push_back(LevelText::Placement{static_cast<int32_t>(roundedX), static_cast<int32_t>(roundedY)});
        alienOrigins.push_back(Origin{object.place, called(object, layer->look), 0, 0});
    }
    if (!good)
        return false;
    if (!picture.empty()) {
        std::string extension = std::filesystem::path(picture).extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(tolower(c)); });
        if (picture.size() > LevelFormat::MaxNameLength || picture.find_first_of(" \t\r\n") != std::string::npos)
            error(picturePlace, "the alien picture " + Diagnostics::quoted(picture) + " must be one word of at most " +
                                    Diagnostics::number(LevelFormat::MaxNameLength) + " characters");
        else if (extension != ".bmp" && extension != ".pcx")
            error(picturePlace,
                  "the alien picture " + Diagnostics::quoted(picture) + " is no BMP or PCX: the game loads only those");
        if (failed)
            return false;
    }
    std::vector<int> lines;
    aliensText = LevelText::aliens(picture, explosion, placements, &lines);
    alienOrigins.insert(alienOrigins.begin(), Origin{picturePlace, called(layer->look), 0, 0});
    for (size_t i = 0; i < alienOrigins.size(); ++i)
        alienOrigins[i].firstLine = alienOrigins[i].lastLine = lines[i];
    return true;
}

void MapImport::describe(const Diagnostics& found, const std::string& levelDirectory, Diagnostics& into) const
{
    std::filesystem::path base(levelDirectory);
    const std::filesystem::path files[3] = {(base / DataPaths::LevelDescription).lexically_normal(),
                                            (base / DataPaths::AlienFile).lexically_normal(),
                                            (base / DataPaths::LevelPictures).lexically_normal()};
    const std::vector<Origin> none;
    const std::vector<Origin>* origins[3] = {&blockOrigins, &alienOrigins, &none};
    for (const Diagnostics::Entry& entry : found.entries) {
        size_t file = std::find(files, files + 3, std::filesystem::path(entry.file).lexically_normal()) - files;
        if (file == 3) {
            into.add(entry.severity, entry.file, entry.position, entry.text);
            continue;
        }
        const Origin* from = nullptr;
        for (const Origin& origin : *origins[file]) {
            int line = entry.position.line;
            if (!from && line > 0 && line >= origin.firstLine && line <= origin.lastLine)
                from = &origin;
        }
        TiledMap::add(into, entry.severity, from ? from->place : map.place,
                      from ? from->called + ": " + entry.text : entry.text);
    }
    into.countUnkept(found);
}
