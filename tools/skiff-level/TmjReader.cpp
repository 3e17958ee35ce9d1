#include "TmjReader.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <filesystem>

using nlohmann::json;

namespace {

std::string member(const std::string& path, const std::string& key)
{
    return path.empty() ? key : path + "." + key;
}

std::string item(const std::string& path, size_t index)
{
    return path + "[" + std::to_string(index) + "]";
}

// A value as JSON text; bytes that are not UTF-8 are replaced, never thrown about.
std::string shown(const json& value)
{
    if (value.is_structured())
        return value.is_array() ? "an array" : "an object";
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

// Finds where a parse fails: the byte it stops at and why.
class ErrorLocator : public nlohmann::json_sax<json> {
public:
    ErrorLocator() : position(0) {}
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool key(string_t&) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t at, const std::string&, const nlohmann::detail::exception& problem) override
    {
        position = at;
        reason = problem.what();
        // "[json.exception.parse_error.101] parse error at line 3, column 5: syntax error ..." without its place.
        size_t column = reason.find("column ");
        size_t colon = column == std::string::npos ? std::string::npos : reason.find(": ", column);
        if (colon != std::string::npos)
            reason = reason.substr(colon + 2);
        return false;
    }

    size_t position;
    std::string reason;
};

}

TmjReader::TmjReader(TiledMap& map) : TiledReader(map), groupDepth(0) {}

TiledMap::Place TmjReader::at(const std::string& path) const
{
    return TiledMap::Place{file, 0, path};
}

bool TmjReader::parse(const std::string& path, const std::string& contents, const char* type, json& root)
{
    file = path;
    // The parser holds every value, tens of bytes each and an object over a hundred: a file of nothing
    // but empty objects would take gigabytes. What it would hold is told from the marks that make values.
    int64_t held = 112 * std::count(contents.begin(), contents.end(), '{') +
                   48 * std::count(contents.begin(), contents.end(), '[') +
                   96 * std::count(contents.begin(), contents.end(), ':') +
                   32 * std::count(contents.begin(), contents.end(), ',');
    if (held > MaxHeldBytes) {
        map.error(TiledMap::Place{path, 0, ""}, "holds more JSON values than the importer holds, " +
                                                    Diagnostics::grouped(MaxHeldBytes >> 20) +
                                                    " MB of them: no map needs that many");
        return false;
    }
    root = json::parse(contents, nullptr, false);
    if (root.is_discarded()) {
        ErrorLocator locator;
        json::sax_parse(contents, &locator);
        int line = 1;
        for (size_t i = 0; i < locator.position && i < contents.size(); ++i)
            line += contents[i] == '\n';
        map.error(TiledMap::Place{path, line, ""}, "is not well-formed JSON: " + locator.reason);
        return false;
    }
    std::string given;
    if (!root.is_object()) {
        map.error(at(""), std::string("is not a Tiled ") + type + ": it is not a JSON object");
        return false;
    }
    if (!string(root, "", "type", given))
        return false;
    if (!given.empty() && given != type) {
        map.error(at("type"), std::string("is \"") + given + "\": the file is not a Tiled " + type);
        return false;
    }
    return true;
}

template <typename T>
bool TmjReader::field(const json& owner, const std::string& path, const char* key,
                      bool (json::*isKind)() const noexcept, const char* kind, T& value)
{
    json::const_iterator found = owner.find(key);
    if (found == owner.end())
        return true;
    if (((*found).*isKind)()) {
        value = found->get<T>();
        return true;
    }
    map.error(at(member(path, key)), shown(*found) + " is not " + kind);
    return false;
}

bool TmjReader::whole(const json& owner, const std::string& path, const char* key, int fallback, int& value)
{
    double given = fallback;
    if (!number(owner, path, key, fallback, given))
        return false;
    if (given >= INT_MIN && given <= INT_MAX && given == std::floor(given)) {
        value = static_cast<int>(given);
        return true;
    }
    map.error(at(member(path, key)), shown(owner[key]) + " is not a whole number");
    return false;
}

bool TmjReader::positive(const json& owner, const std::string& path, const char* key, int& value)
{
    if (!whole(owner, path, key, 0, value))
        return false;
    if (value >= 1)
        return true;
    map.error(at(member(path, key)), "needs a whole number of at least 1");
    return false;
}

bool TmjReader::number(const json& owner, const std::string& path, const char* key, double fallback, double& value)
{
    value = fallback;
    if (!field(owner, path, key, &json::is_number, "a number", value))
        return false;
    if (std::isfinite(value))
        return true;
    map.error(at(member(path, key)), "is beyond the numbers a double holds");
    return false;
}

bool TmjReader::string(const json& owner, const std::string& path, const char* key, std::string& value)
{
    value.clear();
    if (!field(owner, path, key, &json::is_string, "a string", value))
        return false;
    if (withoutNul(value, member(path, key)))
        return true;
    value.clear();
    return false;
}

bool TmjReader::withoutNul(const std::string& text, const std::string& path)
{
    // A NUL would cut a name where it is printed and a path where a file is opened.
    if (text.find('\0') == std::string::npos)
        return true;
    map.error(at(path), "holds a NUL character");
    return false;
}

bool TmjReader::flag(const json& owner, const std::string& path, const char* key, bool fallback, bool& value)
{
    value = fallback;
    return field(owner, path, key, &json::is_boolean, "true or false", value);
}

const json* TmjReader::list(const json& owner, const std::string& path, const char* key)
{
    json::const_iterator found = owner.find(key);
    if (found == owner.end() || found->is_array())
        return found == owner.end() ? nullptr : &*found;
    map.error(at(member(path, key)), shown(*found) + " is not an array");
    return nullptr;
}

void TmjReader::readMap(const std::string& path, const std::string& contents)
{
    json root;
    if (!parse(path, contents, "map", root))
        return;
    map.place = at("");
    double originX = 0.0, originY = 0.0;
    if (!string(root, "", "orientation", map.orientation) || !map.checkOrientation() ||
        !flag(root, "", "infinite", false, map.infinite) || !positive(root, "", "width", map.width) ||
        !positive(root, "", "height", map.height) ||
        !positive(root, "", "tilewidth", map.tileWidth) || !positive(root, "", "tileheight", map.tileHeight) ||
        !number(root, "", "parallaxoriginx", 0.0, originX) || !number(root, "", "parallaxoriginy", 0.0, originY))
        return;
    map.parallaxOrigin = originX != 0.0 || originY != 0.0;
    if (!map.checkTileSize())
        return;
    readProperties(root, "", map.properties);
    if (const json* tilesets = list(root, "", "tilesets")) {
        for (size_t i = 0; i < tilesets->size(); ++i) {
            const json& given = (*tilesets)[i];
            std::string where = item("tilesets", i);
            TiledMap::Tileset tileset = TiledMap::Tileset();
            int firstGid = 0;
            std::string source;
            if (!given.is_object() || !positive(given, where, "firstgid", firstGid) ||
                !string(given, where, "source", source)) {
                if (!given.is_object())
                    map.error(at(where), "is not a JSON object");
                continue;
            }
            tileset.firstGid = static_cast<uint32_t>(firstGid);
            bool read = source.empty() ? readTilesetObject(given, where, tileset)
                                       : map.loadTileset((std::filesystem::path(file).parent_path() / source).string(),
                                                         at(member(where, "source")), tileset);
            if (read)
                map.tilesets.push_back(tileset);
        }
    }
    if (const json* layers = list(root, "", "layers"))
        readLayers(*layers, "layers", TiledMap::LayerLook());
}

bool TmjReader::readTileset(const std::string& path, const std::string& contents, TiledMap::Tileset& tileset)
{
    json root;
    return parse(path, contents, "tileset", root) && readTilesetObject(root, "", tileset);
}

void TmjReader::readLayers(const json& layers, const std::string& path, const TiledMap::LayerLook& group)
{
    if (groupDepth >= MaxGroupDepth) {
        map.error(at(path), "groups are nested more than " + std::to_string(MaxGroupDepth) + " deep");
        return;
    }
    ++groupDepth;
    for (size_t i = 0; i < layers.size(); ++i) {
        const json& layer = layers[i];
        std::string where = item(path, i);
        std::string type;
        TiledMap::LayerLook look;
        if (!layer.is_object()) {
            map.error(at(where), "is not a JSON object");
            continue;
        }
        if (!string(layer, where, "type", type) || !readLook(layer, where, group, look))
            continue;
        if (type == "tilelayer") {
            readTileLayer(layer, where, look);
        } else if (type == "objectgroup") {
            readObjectLayer(layer, where, look);
        } else if (type == "imagelayer") {
            map.imageLayers.push_back(look);
        } else if (type == "group") {
            if (const json* children = list(layer, where, "layers"))
                readLayers(*children, member(where, "layers"), look);
        } else {
            map.error(at(member(where, "type")), "\"" + type + "\" is no kind of layer Tiled writes");
        }
    }
    --groupDepth;
}

bool TmjReader::readLook(const json& layer, const std::string& path, const TiledMap::LayerLook& group,
                         TiledMap::LayerLook& look)
{
    look.place = at(path);
    std::string tint;
    if (!string(layer, path, "name", look.name) || !flag(layer, path, "visible", true, look.visible) ||
        !string(layer, path, "tintcolor", tint) || !number(layer, path, "opacity", 1.0, look.opacity) ||
        !number(layer, path, "offsetx", 0.0, look.offsetX) || !number(layer, path, "offsety", 0.0, look.offsetY) ||
        !number(layer, path, "parallaxx", 1.0, look.parallaxX) ||
        !number(layer, path, "parallaxy", 1.0, look.parallaxY))
        return false;
    look.tinted = TiledMap::tints(tint);
    look.within(group);
    return true;
}

void TmjReader::readTileLayer(const json& layer, const std::string& path, const TiledMap::LayerLook& look)
{
    TiledMap::Layer made = TiledMap::Layer();
    made.look = look;
    std::string encoding, compression;
    if (!positive(layer, path, "width", made.width) || !positive(layer, path, "height", made.height) ||
        !string(layer, path, "encoding", encoding) || !string(layer, path, "compression", compression))
        return;
    // Left out of the level, so its cells are not even decoded.
    if (!look.visible) {
        map.layers.push_back(made);
        return;
    }
    if (encoding.empty())
        encoding = "csv";
    bool good = true;
    if (map.infinite) {
        const json* chunks = list(layer, path, "chunks");
        for (size_t i = 0; chunks && i < chunks->size(); ++i) {
            const json& given = (*chunks)[i];
            std::string where = item(member(path, "chunks"), i);
            TiledMap::Chunk chunk = TiledMap::Chunk();
            if (!given.is_object()) {
                map.error(at(where), "is not a JSON object");
                good = false;
            } else if (!whole(given, where, "x", 0, chunk.x) || !whole(given, where, "y", 0, chunk.y) ||
                       !positive(given, where, "width", chunk.width) ||
                       !positive(given, where, "height", chunk.height) ||
                       !readData(given, where, encoding, compression, look.name, chunk)) {
                good = false;
            } else {
                made.chunks.push_back(chunk);
            }
        }
    } else {
        TiledMap::Chunk chunk = TiledMap::Chunk();
        chunk.width = made.width;
        chunk.height = made.height;
        good = readData(layer, path, encoding, compression, look.name, chunk);
        made.chunks.push_back(chunk);
    }
    if (good)
        map.layers.push_back(made);
}

bool TmjReader::readData(const json& owner, const std::string& path, const std::string& encoding,
                         const std::string& compression, const std::string& name, TiledMap::Chunk& chunk)
{
    chunk.place = at(member(path, "data"));
    json::const_iterator data = owner.find("data");
    if (data == owner.end()) {
        map.error(at(path), called(name) + " has no data");
        return false;
    }
    if (data->is_string())
        return readCells(data->get<std::string>(), encoding, compression, name, chunk);
    if (!data->is_array()) {
        map.error(chunk.place, "is neither an array of tile numbers nor a base64 string");
        return false;
    }
    if (!map.fits(chunk.width, chunk.height, chunk.place, called(name)))
        return false;
    for (size_t i = 0; i < data->size(); ++i) {
        const json& gid = (*data)[i];
        if (!gid.is_number_unsigned() || gid.get<uint64_t>() > 0xFFFFFFFFu) {
            map.error(at(item(chunk.place.path, i)), called(name) + ": " + shown(gid) + " is not a tile number");
            return false;
        }
        chunk.gids.push_back(static_cast<uint32_t>(gid.get<uint64_t>()));
    }
    return true;
}

void TmjReader::readObjectLayer(const json& layer, const std::string& path, const TiledMap::LayerLook& look)
{
    TiledMap::ObjectLayer made;
    made.look = look;
    readProperties(layer, path, made.properties);
    const json* objects = list(layer, path, "objects");
    static const char* const shapes[] = {"ellipse", "point", "polygon", "polyline", "text"};
    for (size_t i = 0; objects && i < objects->size(); ++i) {
        const json& given = (*objects)[i];
        std::string where = item(member(path, "objects"), i);
        TiledMap::Object object = TiledMap::Object();
        object.place = at(where);
        if (!map.objectFits(object.place))
            break;
        double wideGid = 0.0;
        if (!given.is_object()) {
            map.error(object.place, "is not a JSON object");
            continue;
        }
        if (!number(given, where, "x", 0.0, object.x) || !number(given, where, "y", 0.0, object.y) ||
            !number(given, where, "width", 0.0, object.width) || !number(given, where, "height", 0.0, object.height) ||
            !number(given, where, "rotation", 0.0, object.rotation) || !number(given, where, "gid", 0.0, wideGid) ||
            !whole(given, where, "id", 0, object.id) || !string(given, where, "name", object.name))
            continue;
        if (wideGid < 0.0 || wideGid > 4294967295.0 || wideGid != static_cast<double>(static_cast<uint32_t>(wideGid))) {
            map.error(at(member(where, "gid")), "is not a tile number");
            continue;
        }
        object.gid = static_cast<uint32_t>(wideGid);
        object.hasSize = given.contains("width") && given.contains("height");
        for (const char* shape : shapes) {
            json::const_iterator found = given.find(shape);
            if (found != given.end() && !(found->is_boolean() && !found->get<bool>()))
                object.shape = shape;
        }
        made.objects.push_back(object);
    }
    map.objectLayers.push_back(made);
}

bool TmjReader::readTilesetObject(const json& given, const std::string& path, TiledMap::Tileset& tileset)
{
    tileset.place = at(path);
    std::string image, trans;
    if (!string(given, path, "name", tileset.name) || !positive(given, path, "tilewidth", tileset.tileWidth) ||
        !positive(given, path, "tileheight", tileset.tileHeight) ||
        !whole(given, path, "tilecount", 0, tileset.tileCount) ||
        !whole(given, path, "spacing", 0, tileset.spacing) || !whole(given, path, "margin", 0, tileset.margin) ||
        !string(given, path, "objectalignment", tileset.alignment) || !string(given, path, "image", image) ||
        !string(given, path, "transparentcolor", trans))
        return false;
    json::const_iterator offset = given.find("tileoffset");
    if (offset != given.end() && offset->is_object() &&
        (!whole(*offset, member(path, "tileoffset"), "x", 0, tileset.offsetX) ||
         !whole(*offset, member(path, "tileoffset"), "y", 0, tileset.offsetY)))
        return false;
    tileset.imagePlace = at(member(path, "image"));
    tileset.image = image.empty() ? "" : (std::filesystem::path(file).parent_path() / image).string();
    tileset.transparentColour = trans.empty() ? -1 : TiledMap::colour(trans);
    if (tileset.transparentColour < -1) {
        map.error(at(member(path, "transparentcolor")), "\"" + trans + "\" is not #RRGGBB");
        return false;
    }
    bool good = true;
    const json* tiles = list(given, path, "tiles");
    for (size_t i = 0; tiles && i < tiles->size(); ++i)
        good = readTile((*tiles)[i], item(member(path, "tiles"), i), tileset) && good;
    return good;
}

bool TmjReader::readTile(const json& tile, const std::string& path, TiledMap::Tileset& tileset)
{
    if (!tile.is_object()) {
        map.error(at(path), "is not a JSON object");
        return false;
    }
    TiledMap::TileImage own = TiledMap::TileImage();
    own.place = at(member(path, "image"));
    own.transparentColour = -1;
    int id = 0;
    std::string image;
    if (!whole(tile, path, "id", -1, id) || !string(tile, path, "image", image) || !whole(tile, path, "x", 0, own.x) ||
        !whole(tile, path, "y", 0, own.y) || !whole(tile, path, "width", -1, own.width) ||
        !whole(tile, path, "height", -1, own.height))
        return false;
    own.image = image.empty() ? "" : (std::filesystem::path(file).parent_path() / image).string();
    own.animated = tile.contains("animation");
    tileset.tiles[id] = own;
    return true;
}

void TmjReader::readProperties(const json& owner, const std::string& path, TiledMap::Properties& into)
{
    json::const_iterator given = owner.find("properties");
    if (given == owner.end())
        return;
    std::string where = member(path, "properties");
    if (given->is_object()) {
        // Before Tiled 1.2 properties were one object of names and values.
        for (json::const_iterator it = given->begin(); it != given->end(); ++it) {
            std::string text = it->is_string() ? it->get<std::string>() : shown(*it);
            if (withoutNul(it.key() + text, member(where, it.key())))
                into[it.key()] = TiledMap::Property{text, at(member(where, it.key()))};
        }
        return;
    }
    const json* properties = list(owner, path, "properties");
    for (size_t i = 0; properties && i < properties->size(); ++i) {
        const json& property = (*properties)[i];
        if (!property.is_object() || !property.contains("name") || !property["name"].is_string())
            continue;
        json::const_iterator value = property.find("value");
        std::string text = value == property.end() ? ""
                           : value->is_string()    ? value->get<std::string>()
                                                   : shown(*value);
        if (withoutNul(property["name"].get<std::string>() + text, item(where, i)))
            into[property["name"].get<std::string>()] = TiledMap::Property{text, at(member(item(where, i), "value"))};
    }
}
