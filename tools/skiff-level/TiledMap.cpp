#include "TiledMap.h"

#include <tinyxml2.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "Diagnostics.h"
#include "Paths.h"

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;

namespace {

std::string text(const char* value)
{
    return value ? value : "";
}

std::string quoted(const std::string& value)
{
    return "\"" + value + "\"";
}

// A number of a Tiled attribute; fallback when the attribute is absent. False when it is not a number.
bool doubleAttribute(const XMLElement* element, const char* name, double fallback, double& value)
{
    value = fallback;
    const char* given = element->Attribute(name);
    if (!given)
        return true;
    return element->QueryDoubleAttribute(name, &value) == tinyxml2::XML_SUCCESS;
}

int intAttribute(const XMLElement* element, const char* name, int fallback)
{
    int value = fallback;
    element->QueryIntAttribute(name, &value);
    return value;
}

}

TiledMap::TiledMap() : width(0), height(0), tileWidth(0), tileHeight(0), diagnostics(nullptr), failed(false) {}

TiledMap::~TiledMap() {}

void TiledMap::error(const std::string& inFile, int line, const std::string& message)
{
    diagnostics->error(inFile, SourcePosition{line, 0}, message);
    failed = true;
}

bool TiledMap::positiveAttribute(const XMLElement* element, const std::string& inFile, const char* name, int& value)
{
    if (element->QueryIntAttribute(name, &value) != tinyxml2::XML_SUCCESS || value < 1) {
        error(inFile, element->GetLineNum(),
              "<" + text(element->Name()) + "> needs a whole number of at least 1 as " + quoted(name));
        return false;
    }
    return true;
}

int TiledMap::load(const std::string& path, Diagnostics* sink)
{
    diagnostics = sink;
    failed = false;
    file = path;
    XMLDocument document;
    if (document.LoadFile(path.c_str()) != tinyxml2::XML_SUCCESS) {
        if (document.ErrorID() == tinyxml2::XML_ERROR_FILE_NOT_FOUND ||
            document.ErrorID() == tinyxml2::XML_ERROR_FILE_COULD_NOT_BE_OPENED)
            diagnostics->error(path, SourcePosition{0, 0}, "cannot be read");
        else
            diagnostics->error(path, SourcePosition{document.ErrorLineNum(), 0},
                               "is not well-formed XML: " + text(document.ErrorStr()));
        return -1;
    }
    const XMLElement* map = document.RootElement();
    if (!map || strcmp(map->Name(), "map") != 0) {
        error(path, map ? map->GetLineNum() : 0, "is not a Tiled map: its root element is not <map>");
        return -1;
    }
    int line = map->GetLineNum();
    std::string orientation = text(map->Attribute("orientation"));
    if (orientation != "orthogonal")
        error(path, line, "the map is " + (orientation.empty() ? std::string("without orientation") : orientation) +
                              ": only orthogonal maps can be imported");
    if (intAttribute(map, "infinite", 0) != 0)
        error(path, line, "the map is infinite: only maps of a fixed size can be imported (Tiled: Map > Map "
                          "Properties > Infinite off)");
    if (!positiveAttribute(map, path, "width", width) || !positiveAttribute(map, path, "height", height) ||
        !positiveAttribute(map, path, "tilewidth", tileWidth) || !positiveAttribute(map, path, "tileheight", tileHeight))
        return -1;
    if (tileWidth != tileHeight)
        error(path, line, "the map's tiles are " + std::to_string(tileWidth) + " x " + std::to_string(tileHeight) +
                              " pixels: the game's tiles are square");

    for (const XMLElement* child = map->FirstChildElement(); child; child = child->NextSiblingElement()) {
        std::string name = child->Name();
        if (name == "properties") {
            readProperties(map, properties);
        } else if (name == "tileset") {
            Tileset tileset = Tileset();
            if (child->QueryUnsignedAttribute("firstgid", &tileset.firstGid) != tinyxml2::XML_SUCCESS ||
                tileset.firstGid < 1) {
                error(path, child->GetLineNum(), "<tileset> needs a \"firstgid\" of at least 1");
                continue;
            }
            if (child->Attribute("source")) {
                std::string source = Paths::join(Paths::parent(path), text(child->Attribute("source")));
                XMLDocument external;
                if (external.LoadFile(source.c_str()) != tinyxml2::XML_SUCCESS) {
                    if (external.ErrorID() == tinyxml2::XML_ERROR_FILE_NOT_FOUND ||
                        external.ErrorID() == tinyxml2::XML_ERROR_FILE_COULD_NOT_BE_OPENED)
                        error(path, child->GetLineNum(), "the tileset file " + quoted(source) + " cannot be read");
                    else
                        error(source, external.ErrorLineNum(), "is not well-formed XML: " + text(external.ErrorStr()));
                    continue;
                }
                const XMLElement* root = external.RootElement();
                if (!root || strcmp(root->Name(), "tileset") != 0) {
                    error(source, root ? root->GetLineNum() : 0, "is not a Tiled tileset: its root is not <tileset>");
                    continue;
                }
                if (readTileset(root, source, tileset))
                    tilesets.push_back(tileset);
            } else if (readTileset(child, path, tileset)) {
                tilesets.push_back(tileset);
            }
        } else if (name == "layer") {
            Layer layer = Layer();
            if (readLayer(child, layer))
                layers.push_back(layer);
        } else if (name == "objectgroup") {
            ObjectLayer layer = ObjectLayer();
            if (readObjectLayer(child, layer))
                objectLayers.push_back(layer);
        } else if (name == "group") {
            error(path, child->GetLineNum(), "group layers cannot be imported: move their layers out of the group");
        } else if (name == "imagelayer") {
            diagnostics->warning(path, SourcePosition{child->GetLineNum(), 0},
                                 "image layer " + quoted(text(child->Attribute("name"))) + " is not imported");
        }
    }
    return failed ? -1 : 0;
}

bool TiledMap::readTileset(const XMLElement* element, const std::string& inFile, Tileset& tileset)
{
    tileset.file = inFile;
    tileset.line = element->GetLineNum();
    tileset.name = text(element->Attribute("name"));
    tileset.transparentColour = -1;
    tileset.imageLine = tileset.line;
    tileset.alignment = text(element->Attribute("objectalignment"));
    if (tileset.alignment == "unspecified" || tileset.alignment == "bottomleft")
        tileset.alignment.clear();
    if (!positiveAttribute(element, inFile, "tilewidth", tileset.tileWidth) ||
        !positiveAttribute(element, inFile, "tileheight", tileset.tileHeight))
        return false;
    tileset.tileCount = intAttribute(element, "tilecount", 0);
    tileset.columns = intAttribute(element, "columns", 0);
    tileset.spacing = intAttribute(element, "spacing", 0);
    tileset.margin = intAttribute(element, "margin", 0);
    if (tileset.spacing < 0 || tileset.margin < 0) {
        error(inFile, tileset.line, "the tileset's spacing and margin must not be negative");
        return false;
    }
    const XMLElement* image = element->FirstChildElement("image");
    if (image) {
        tileset.image = Paths::join(Paths::parent(inFile), text(image->Attribute("source")));
        tileset.imageLine = image->GetLineNum();
        const char* trans = image->Attribute("trans");
        if (trans) {
            const char* digits = trans[0] == '#' ? trans + 1 : trans;
            char* end = nullptr;
            errno = 0;
            long colour = strtol(digits, &end, 16);
            if (strlen(digits) != 6 || *end != '\0' || errno != 0) {
                error(inFile, tileset.imageLine, "the transparent colour " + quoted(trans) + " is not RRGGBB");
                return false;
            }
            tileset.transparentColour = static_cast<int>(colour);
        }
    }
    for (const XMLElement* tile = element->FirstChildElement("tile"); tile; tile = tile->NextSiblingElement("tile")) {
        const XMLElement* own = tile->FirstChildElement("image");
        if (!own)
            continue;
        int id = intAttribute(tile, "id", -1);
        tileset.tileImages[id] = Paths::join(Paths::parent(inFile), text(own->Attribute("source")));
        tileset.tileImageLines[id] = own->GetLineNum();
    }
    if (!image && tileset.tileImages.empty()) {
        error(inFile, tileset.line, "tileset " + quoted(tileset.name) + " has no picture");
        return false;
    }
    return true;
}

bool TiledMap::readLayer(const XMLElement* element, Layer& layer)
{
    layer.name = text(element->Attribute("name"));
    layer.line = element->GetLineNum();
    std::string called = "layer " + quoted(layer.name);
    if (!positiveAttribute(element, file, "width", layer.width) ||
        !positiveAttribute(element, file, "height", layer.height))
        return false;
    if (!doubleAttribute(element, "parallaxx", 1.0, layer.parallaxX) ||
        !doubleAttribute(element, "parallaxy", 1.0, layer.parallaxY)) {
        error(file, layer.line, called + ": its parallax factors are not numbers");
        return false;
    }
    double offsetX, offsetY;
    if (!doubleAttribute(element, "offsetx", 0.0, offsetX) || !doubleAttribute(element, "offsety", 0.0, offsetY) ||
        offsetX != 0.0 || offsetY != 0.0) {
        error(file, layer.line, called + " is offset: the game draws every layer from the map's corner");
        return false;
    }
    const XMLElement* data = element->FirstChildElement("data");
    if (!data) {
        error(file, layer.line, called + " has no <data>");
        return false;
    }
    std::string encoding = text(data->Attribute("encoding"));
    std::string compression = text(data->Attribute("compression"));
    if (encoding != "csv" || !compression.empty()) {
        std::string used = encoding.empty() ? "XML" : encoding;
        if (!compression.empty())
            used += " compressed with " + compression;
        error(file, data->GetLineNum(), called + " is stored as " + used + ": only CSV can be imported (Tiled: Map > "
                                        "Map Properties > Tile Layer Format: CSV)");
        return false;
    }
    if (data->FirstChildElement("chunk")) {
        error(file, data->GetLineNum(), called + " is stored in chunks, as infinite maps are: only fixed-size maps "
                                        "can be imported");
        return false;
    }
    std::string cells = text(data->GetText());
    int line = data->GetLineNum();
    size_t expected = static_cast<size_t>(layer.width) * static_cast<size_t>(layer.height);
    layer.gids.reserve(expected);
    size_t at = 0;
    while (at < cells.size()) {
        while (at < cells.size() && isspace(static_cast<unsigned char>(cells[at]))) {
            if (cells[at] == '\n')
                ++line;
            ++at;
        }
        if (at >= cells.size())
            break;
        size_t end = at;
        while (end < cells.size() && cells[end] != ',' && !isspace(static_cast<unsigned char>(cells[end])))
            ++end;
        std::string value = cells.substr(at, end - at);
        char* stop = nullptr;
        errno = 0;
        unsigned long gid = strtoul(value.c_str(), &stop, 10);
        if (value.empty() || *stop != '\0' || errno != 0 || gid > 0xFFFFFFFFul || value[0] == '-') {
            error(file, line, called + ": " + quoted(value) + " is not a tile number");
            return false;
        }
        layer.gids.push_back(static_cast<uint32_t>(gid));
        layer.gidLines.push_back(line);
        at = end;
        while (at < cells.size() && isspace(static_cast<unsigned char>(cells[at]))) {
            if (cells[at] == '\n')
                ++line;
            ++at;
        }
        if (at < cells.size() && cells[at] == ',')
            ++at;
    }
    if (layer.gids.size() != expected) {
        error(file, data->GetLineNum(),
              called + " has " + std::to_string(layer.gids.size()) + " cells, not " + std::to_string(layer.width) +
                  " x " + std::to_string(layer.height) + " = " + std::to_string(expected));
        return false;
    }
    return true;
}

bool TiledMap::readObjectLayer(const XMLElement* element, ObjectLayer& layer)
{
    layer.name = text(element->Attribute("name"));
    layer.line = element->GetLineNum();
    readProperties(element, layer.properties);
    double offsetX, offsetY;
    if (!doubleAttribute(element, "offsetx", 0.0, offsetX) || !doubleAttribute(element, "offsety", 0.0, offsetY) ||
        offsetX != 0.0 || offsetY != 0.0) {
        error(file, layer.line, "object layer " + quoted(layer.name) + " is offset: its objects would not stand "
                                "where the game puts them");
        return false;
    }
    bool good = true;
    for (const XMLElement* item = element->FirstChildElement("object"); item;
         item = item->NextSiblingElement("object")) {
        Object object = Object();
        object.line = item->GetLineNum();
        double rotation;
        if (!doubleAttribute(item, "x", 0.0, object.x) || !doubleAttribute(item, "y", 0.0, object.y) ||
            !doubleAttribute(item, "rotation", 0.0, rotation)) {
            error(file, object.line, "the object's position is not a number");
            good = false;
            continue;
        }
        object.hasSize = item->Attribute("width") && item->Attribute("height");
        doubleAttribute(item, "width", 0.0, object.width);
        doubleAttribute(item, "height", 0.0, object.height);
        unsigned gid = 0;
        if (item->Attribute("gid") && item->QueryUnsignedAttribute("gid", &gid) != tinyxml2::XML_SUCCESS) {
            error(file, object.line, "the object's gid is not a tile number");
            good = false;
            continue;
        }
        object.gid = gid;
        if (rotation != 0.0) {
            error(file, object.line, "the object is rotated: aliens are placed upright");
            good = false;
            continue;
        }
        if (item->FirstChildElement("polygon") || item->FirstChildElement("polyline") || item->FirstChildElement("text")) {
            error(file, object.line, "only tile objects, rectangles and points can place aliens");
            good = false;
            continue;
        }
        layer.objects.push_back(object);
    }
    return good;
}

void TiledMap::readProperties(const XMLElement* element, Properties& into)
{
    const XMLElement* list = element->FirstChildElement("properties");
    if (!list)
        return;
    for (const XMLElement* item = list->FirstChildElement("property"); item;
         item = item->NextSiblingElement("property")) {
        const char* value = item->Attribute("value");
        into[text(item->Attribute("name"))] = Property{value ? value : text(item->GetText()), item->GetLineNum()};
    }
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
