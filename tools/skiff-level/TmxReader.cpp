#include "TmxReader.h"

#include <tinyxml2.h>

#include <algorithm>
#include <climits>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;

namespace {

std::string text(const char* value)
{
    return value ? value : "";
}

// A number of a Tiled attribute; fallback when the attribute is absent. False when it is not a number.
bool number(const XMLElement* element, const char* name, double fallback, double& value)
{
    value = fallback;
    return !element->Attribute(name) ||
           (element->QueryDoubleAttribute(name, &value) == tinyxml2::XML_SUCCESS && std::isfinite(value));
}

int whole(const XMLElement* element, const char* name, int fallback)
{
    int value = fallback;
    element->QueryIntAttribute(name, &value);
    return value;
}

}

TmxReader::TmxReader(TiledMap& map) : TiledReader(map) {}

TmxReader::~TmxReader() {}

TiledMap::Place TmxReader::at(const XMLElement* element) const
{
    return TiledMap::Place{file, element->GetLineNum(), ""};
}

bool TmxReader::integer(const XMLElement* element, const char* name, int fallback, int& value)
{
    value = fallback;
    const char* given = element->Attribute(name);
    if (!given)
        return true;
    // tinyxml2 would read "1.5" as 1; all of it must be the number.
    char* end = nullptr;
    errno = 0;
    long number = strtol(given, &end, 10);
    if (end != given && *end == '\0' && errno == 0 && number >= INT_MIN && number <= INT_MAX) {
        value = static_cast<int>(number);
        return true;
    }
    map.error(at(element), "<" + text(element->Name()) + "> needs a whole number as \"" + name + "\", not \"" +
                               text(element->Attribute(name)) + "\"");
    return false;
}

bool TmxReader::positive(const XMLElement* element, const char* name, int& value)
{
    if (element->QueryIntAttribute(name, &value) == tinyxml2::XML_SUCCESS && value >= 1)
        return true;
    map.error(at(element), "<" + text(element->Name()) + "> needs a whole number of at least 1 as \"" + name + "\"");
    return false;
}

bool TmxReader::parse(const std::string& path, const std::string& contents, XMLDocument& document, const char* root)
{
    file = path;
    // The parser holds every element and attribute, a hundred bytes or more each: a file of nothing
    // else would take gigabytes. Every element starts with "<", every attribute has its "=".
    int64_t elements = std::count(contents.begin(), contents.end(), '<');
    int64_t attributes = std::count(contents.begin(), contents.end(), '=');
    if (elements > MaxElements || attributes > MaxAttributes) {
        map.error(TiledMap::Place{path, 0, ""},
                  "holds more than " + Diagnostics::grouped(elements > MaxElements ? MaxElements : MaxAttributes) +
                      (elements > MaxElements ? " XML elements" : " XML attributes") +
                      ", more than any map needs: the importer reads no more");
        return false;
    }
    if (document.Parse(contents.data(), contents.size()) != tinyxml2::XML_SUCCESS) {
        map.error(TiledMap::Place{path, document.ErrorLineNum(), ""},
                  "is not well-formed XML: " + text(document.ErrorStr()));
        return false;
    }
    const XMLElement* element = document.RootElement();
    if (!element || strcmp(element->Name(), root) != 0) {
        map.error(TiledMap::Place{path, element ? element->GetLineNum() : 0, ""},
                  std::string("is not a Tiled ") + (strcmp(root, "map") == 0 ? "map" : "tileset") +
                      ": its root element is not <" + root + ">");
        return false;
    }
    return true;
}

void TmxReader::readMap(const std::string& path, const std::string& contents)
{
    XMLDocument document;
    if (!parse(path, contents, document, "map"))
        return;
    const XMLElement* root = document.RootElement();
    map.place = at(root);
    map.orientation = text(root->Attribute("orientation"));
    map.infinite = whole(root, "infinite", 0) != 0;
    map.parallaxOrigin = whole(root, "parallaxoriginx", 0) != 0 || whole(root, "parallaxoriginy", 0) != 0;
    if (!map.checkOrientation() || !positive(root, "width", map.width) || !positive(root, "height", map.height) ||
        !positive(root, "tilewidth", map.tileWidth) || !positive(root, "tileheight", map.tileHeight) ||
        !map.checkTileSize())
        return;
    readProperties(root, map.properties);
    for (const XMLElement* child = root->FirstChildElement("tileset"); child;
         child = child->NextSiblingElement("tileset")) {
        TiledMap::Tileset tileset = TiledMap::Tileset();
        if (child->QueryUnsignedAttribute("firstgid", &tileset.firstGid) != tinyxml2::XML_SUCCESS ||
            tileset.firstGid < 1 || tileset.firstGid > TiledMap::GidBits) {
            map.error(at(child), "<tileset> needs a \"firstgid\" of at least 1");
            continue;
        }
        std::filesystem::path source = std::filesystem::path(file).parent_path() / text(child->Attribute("source"));
        bool read = child->Attribute("source") ? map.loadTileset(source.string(), at(child), tileset)
                                               : readTilesetElement(child, tileset);
        if (read)
            map.tilesets.push_back(tileset);
    }
    readLayers(root, TiledMap::LayerLook());
}

bool TmxReader::readTileset(const std::string& path, const std::string& contents, TiledMap::Tileset& tileset)
{
    XMLDocument document;
    return parse(path, contents, document, "tileset") && readTilesetElement(document.RootElement(), tileset);
}

void TmxReader::readLayers(const XMLElement* parent, const TiledMap::LayerLook& group)
{
    for (const XMLElement* child = parent->FirstChildElement(); child; child = child->NextSiblingElement()) {
        std::string kind = child->Name();
        TiledMap::LayerLook look;
        if (kind != "layer" && kind != "objectgroup" && kind != "imagelayer" && kind != "group")
            continue;
        if (!readLook(child, group, look))
            continue;
        if (kind == "layer")
            readTileLayer(child, look);
        else if (kind == "objectgroup")
            readObjectLayer(child, look);
        else if (kind == "imagelayer")
            map.imageLayers.push_back(look);
        else
            readLayers(child, look);
    }
}

bool TmxReader::readLook(const XMLElement* element, const TiledMap::LayerLook& group, TiledMap::LayerLook& look)
{
    look.name = text(element->Attribute("name"));
    look.place = at(element);
    look.visible = whole(element, "visible", 1) != 0;
    look.tinted = TiledMap::tints(text(element->Attribute("tintcolor")));
    if (!number(element, "opacity", 1.0, look.opacity) || !number(element, "offsetx", 0.0, look.offsetX) ||
        !number(element, "offsety", 0.0, look.offsetY) || !number(element, "parallaxx", 1.0, look.parallaxX) ||
        !number(element, "parallaxy", 1.0, look.parallaxY)) {
        map.error(look.place, called(look.name) + ": its opacity, offsets and parallax factors must be numbers");
        return false;
    }
    look.within(group);
    return true;
}

void TmxReader::readTileLayer(const XMLElement* element, const TiledMap::LayerLook& look)
{
    TiledMap::Layer layer = TiledMap::Layer();
    layer.look = look;
    if (!positive(element, "width", layer.width) || !positive(element, "height", layer.height))
        return;
    // Left out of the level, so its cells are not even decoded.
    if (!look.visible) {
        map.layers.push_back(layer);
        return;
    }
    const XMLElement* data = element->FirstChildElement("data");
    if (!data) {
        map.error(look.place, called(look.name) + " has no <data>");
        return;
    }
    std::string encoding = text(data->Attribute("encoding"));
    std::string compression = text(data->Attribute("compression"));
    bool good = true;
    if (map.infinite) {
        for (const XMLElement* part = data->FirstChildElement("chunk"); part;
             part = part->NextSiblingElement("chunk")) {
            TiledMap::Chunk chunk = TiledMap::Chunk();
            chunk.place = at(part);
            if (part->QueryIntAttribute("x", &chunk.x) != tinyxml2::XML_SUCCESS ||
                part->QueryIntAttribute("y", &chunk.y) != tinyxml2::XML_SUCCESS) {
                map.error(chunk.place, "<chunk> needs whole numbers as \"x\" and \"y\"");
                good = false;
                continue;
            }
            if (!positive(part, "width", chunk.width) || !positive(part, "height", chunk.height) ||
                !readData(part, encoding, compression, look.name, chunk)) {
                good = false;
                continue;
            }
            layer.chunks.push_back(chunk);
        }
    } else {
        TiledMap::Chunk chunk = TiledMap::Chunk();
        chunk.place = at(data);
        chunk.width = layer.width;
        chunk.height = layer.height;
        if (data->FirstChildElement("chunk")) {
            map.error(chunk.place, called(look.name) + " is stored in chunks, but the map is not infinite");
            return;
        }
        good = readData(data, encoding, compression, look.name, chunk);
        layer.chunks.push_back(chunk);
    }
    if (good)
        map.layers.push_back(layer);
}

bool TmxReader::readData(const XMLElement* element, const std::string& encoding, const std::string& compression,
                         const std::string& name, TiledMap::Chunk& chunk)
{
    if (!encoding.empty())
        return readCells(text(element->GetText()), encoding, compression, name, chunk);
    if (!map.fits(chunk.width, chunk.height, chunk.place, called(name)))
        return false;
    // The oldest form: one <tile gid> a cell; Tiled leaves the gid out of empty cells.
    for (const XMLElement* tile = element->FirstChildElement("tile"); tile; tile = tile->NextSiblingElement("tile")) {
        unsigned gid = 0;
        if (tile->Attribute("gid") && tile->QueryUnsignedAttribute("gid", &gid) != tinyxml2::XML_SUCCESS) {
            map.error(at(tile), called(name) + ": \"" + text(tile->Attribute("gid")) + "\" is not a tile number");
            return false;
        }
        chunk.gids.push_back(gid);
        chunk.lines.push_back(tile->GetLineNum());
    }
    return true;
}

void TmxReader::readObjectLayer(const XMLElement* element, const TiledMap::LayerLook& look)
{
    TiledMap::ObjectLayer layer;
    layer.look = look;
    readProperties(element, layer.properties);
    static const char* const shapes[] = {"ellipse", "point", "polygon", "polyline", "text"};
    for (const XMLElement* item = element->FirstChildElement("object"); item;
         item = item->NextSiblingElement("object")) {
        TiledMap::Object object = TiledMap::Object();
        object.place = at(item);
        if (!map.objectFits(object.place))
            break;
        if (!number(item, "x", 0.0, object.x) || !number(item, "y", 0.0, object.y) ||
            !number(item, "width", 0.0, object.width) || !number(item, "height", 0.0, object.height) ||
            !number(item, "rotation", 0.0, object.rotation) ||
            (item->Attribute("gid") && item->QueryUnsignedAttribute("gid", &object.gid) != tinyxml2::XML_SUCCESS)) {
            map.error(object.place, "the object's position, size, rotation and gid must be numbers");
            continue;
        }
        double id = 0.0;
        if (!number(item, "id", 0.0, id) || id != std::floor(id) || id < INT_MIN || id > INT_MAX) {
            map.error(object.place, "the object's id \"" + text(item->Attribute("id")) + "\" is not a whole number");
            continue;
        }
        object.id = static_cast<int>(id);
        object.name = text(item->Attribute("name"));
        object.hasSize = item->Attribute("width") && item->Attribute("height");
        for (const char* shape : shapes) {
            if (item->FirstChildElement(shape))
                object.shape = shape;
        }
        layer.objects.push_back(object);
    }
    map.objectLayers.push_back(layer);
}

bool TmxReader::readTilesetElement(const XMLElement* element, TiledMap::Tileset& tileset)
{
    tileset.place = at(element);
    tileset.imagePlace = tileset.place;
    tileset.name = text(element->Attribute("name"));
    tileset.alignment = text(element->Attribute("objectalignment"));
    tileset.transparentColour = -1;
    if (!positive(element, "tilewidth", tileset.tileWidth) || !positive(element, "tileheight", tileset.tileHeight))
        return false;
    tileset.tileCount = whole(element, "tilecount", 0);
    if (!integer(element, "spacing", 0, tileset.spacing) || !integer(element, "margin", 0, tileset.margin))
        return false;
    if (const XMLElement* offset = element->FirstChildElement("tileoffset")) {
        tileset.offsetX = whole(offset, "x", 0);
        tileset.offsetY = whole(offset, "y", 0);
    }
    std::filesystem::path folder = std::filesystem::path(file).parent_path();
    bool good = true;
    if (const XMLElement* image = element->FirstChildElement("image")) {
        tileset.image = (folder / text(image->Attribute("source"))).string();
        tileset.imagePlace = at(image);
        good = transparent(image, tileset.transparentColour);
    }
    for (const XMLElement* tile = element->FirstChildElement("tile"); tile; tile = tile->NextSiblingElement("tile")) {
        TiledMap::TileImage own = TiledMap::TileImage();
        own.place = at(tile);
        own.transparentColour = -1;
        if (!integer(tile, "width", -1, own.width) || !integer(tile, "height", -1, own.height) ||
            !integer(tile, "x", 0, own.x) || !integer(tile, "y", 0, own.y)) {
            good = false;
            continue;
        }
        own.animated = tile->FirstChildElement("animation") != nullptr;
        if (const XMLElement* image = tile->FirstChildElement("image")) {
            own.image = (folder / text(image->Attribute("source"))).string();
            own.place = at(image);
            good = transparent(image, own.transparentColour) && good;
        }
        tileset.tiles[whole(tile, "id", -1)] = own;
    }
    return good;
}

bool TmxReader::transparent(const XMLElement* image, int& colour)
{
    std::string given = text(image->Attribute("trans"));
    colour = given.empty() ? -1 : TiledMap::colour(given);
    if (colour >= 0 || given.empty())
        return true;
    map.error(at(image), "the transparent colour \"" + given + "\" is not RRGGBB");
    return false;
}

void TmxReader::readProperties(const XMLElement* element, TiledMap::Properties& into)
{
    const XMLElement* list = element->FirstChildElement("properties");
    if (!list)
        return;
    for (const XMLElement* item = list->FirstChildElement("property"); item;
         item = item->NextSiblingElement("property")) {
        const char* value = item->Attribute("value");
        into[text(item->Attribute("name"))] = TiledMap::Property{value ? value : text(item->GetText()), at(item)};
    }
}
