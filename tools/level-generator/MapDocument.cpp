#include "MapDocument.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "TileLayer.h"
#include "level/LevelFormat.h"
#include "render/Screen.h"

using tinyxml2::XMLElement;

namespace {

// Tiled keeps four flags in the top bits of a gid.
const unsigned GidBits = 0x0FFFFFFFu;

// Indents as the Tiled editor does, so that a map saved by the generator and then by the editor
// differs only where it changed.
class TiledPrinter : public tinyxml2::XMLPrinter {
protected:
    void PrintSpace(int depth) override
    {
        for (int i = 0; i < depth; i++)
            Putc(' ');
    }
};

bool isLayer(const XMLElement* element)
{
    const char* kinds[] = { "layer", "objectgroup", "imagelayer", "group" };
    for (const char* kind : kinds)
        if (!strcmp(element->Name(), kind))
            return true;
    return false;
}

bool isGenerated(const XMLElement* tileset, const TileLayer* const* layers, int count)
{
    const char* name = tileset->Attribute("name");
    for (int k = 0; name && k < count; k++)
        if (!strcmp(name, layers[k]->name()))
            return true;
    return false;
}

// Puts element just before next, or last when there is no next.
void insertBefore(XMLElement* parent, XMLElement* element, XMLElement* next)
{
    tinyxml2::XMLNode* previous = next ? next->PreviousSibling() : parent->LastChild();
    if (previous)
        parent->InsertAfterChild(previous, element);
    else
        parent->InsertFirstChild(element);
}

// Adds by to every tileset's first gid and every tile object's gid from from on, flags kept.
void moveGids(XMLElement* element, unsigned from, unsigned by)
{
    for (XMLElement* e = element->FirstChildElement(); e; e = e->NextSiblingElement()) {
        const char* gidName = !strcmp(e->Name(), "tileset") ? "firstgid"
                              : !strcmp(e->Name(), "object") ? "gid"
                                                             : nullptr;
        unsigned gid = gidName ? e->UnsignedAttribute(gidName) : 0;
        if (gidName && (gid & GidBits) >= from)
            e->SetAttribute(gidName, gid + by);
        moveGids(e, from, by);
    }
}

// The shortest decimal that reads back as value.
std::string shortestDecimal(double value)
{
    char text[32];
    for (int digits = 1; digits <= 17; digits++) {
        snprintf(text, sizeof text, "%.*g", digits, value);
        if (strtod(text, nullptr) == value)
            break;
    }
    return text;
}

}

MapDocument::MapDocument() : map(nullptr) {}

MapDocument::~MapDocument() {}

int MapDocument::load(const std::string& path)
{
    if (document.LoadFile(path.c_str()) != tinyxml2::XML_SUCCESS) {
        fprintf(stderr, "cannot read the map %s: %s\n", path.c_str(), document.ErrorStr());
        return -1;
    }
    map = document.FirstChildElement("map");
    if (!map) {
        fprintf(stderr, "%s is no Tiled map: it has no <map> element\n", path.c_str());
        return -1;
    }
    return 0;
}

void MapDocument::replaceLayers(const TileLayer* const* layers, int count)
{
    std::vector<XMLElement*> replaced;
    std::map<std::string, int> layerIds;
    XMLElement *firstTileset = nullptr, *firstTileLayer = nullptr, *firstLayer = nullptr;
    unsigned firstKeptGid = UINT_MAX;
    for (XMLElement* e = map->FirstChildElement(); e; e = e->NextSiblingElement()) {
        if (!strcmp(e->Name(), "tileset")) {
            firstTileset = firstTileset ? firstTileset : e;
            if (isGenerated(e, layers, count))
                replaced.push_back(e);
            else if (e->UnsignedAttribute("firstgid") < firstKeptGid)
                firstKeptGid = e->UnsignedAttribute("firstgid");
        } else if (isLayer(e)) {
            firstLayer = firstLayer ? firstLayer : e;
            if (!strcmp(e->Name(), "layer")) {
                firstTileLayer = firstTileLayer ? firstTileLayer : e;
                replaced.push_back(e);
                if (e->Attribute("name") && e->IntAttribute("id") > 0)
                    layerIds[e->Attribute("name")] = e->IntAttribute("id");
            }
        }
    }

    std::vector<unsigned> firstGids(count + 1, 1);
    for (int k = 0; k < count; k++)
        firstGids[k + 1] = firstGids[k] + layers[k]->pictureColumns() * TileLayer::PictureRows;
    if (firstGids[count] > firstKeptGid)
        moveGids(map, firstKeptGid, firstGids[count] - firstKeptGid);

    const TileLayer& main = *layers[count - 1];
    int nextLayerId = map->IntAttribute("nextlayerid", 1);
    for (int k = 0; k < count; k++)
        insertBefore(map, tileset(*layers[k], firstGids[k]), firstTileset ? firstTileset : firstLayer);
    for (int k = 0; k < count; k++) {
        const TileLayer& layer = *layers[k];
        int id = layerIds.count(layer.name()) ? layerIds[layer.name()] : nextLayerId++;
        insertBefore(map, tileLayer(layer, firstGids[k], main, id), firstTileLayer ? firstTileLayer : firstLayer);
    }
    for (XMLElement* old : replaced)
        map->DeleteChild(old);

    map->SetAttribute("width", main.columns());
    map->SetAttribute("height", main.rows());
    map->SetAttribute("tilewidth", (int)TileLayer::TileSize);
    map->SetAttribute("tileheight", (int)TileLayer::TileSize);
    map->SetAttribute("infinite", 0);
    map->SetAttribute("nextlayerid", nextLayerId);
}

XMLElement* MapDocument::tileset(const TileLayer& layer, unsigned firstGid)
{
    XMLElement* tileset = document.NewElement("tileset");
    tileset->SetAttribute("firstgid", firstGid);
    tileset->SetAttribute("name", layer.name());
    tileset->SetAttribute("tilewidth", (int)TileLayer::TileSize);
    tileset->SetAttribute("tileheight", (int)TileLayer::TileSize);
    tileset->SetAttribute("tilecount", layer.pictureColumns() * TileLayer::PictureRows);
    tileset->SetAttribute("columns", layer.pictureColumns());
    XMLElement* image = tileset->InsertNewChildElement("image");
    image->SetAttribute("source", (std::string(layer.name()) + ".png").c_str());
    image->SetAttribute("width", layer.pictureColumns() * TileLayer::TileSize);
    image->SetAttribute("height", TileLayer::PictureRows * TileLayer::TileSize);
    return tileset;
}

XMLElement* MapDocument::tileLayer(const TileLayer& layer, unsigned firstGid, const TileLayer& main, int id)
{
    XMLElement* element = document.NewElement("layer");
    element->SetAttribute("id", id);
    element->SetAttribute("name", layer.name());
    element->SetAttribute("width", main.columns());
    element->SetAttribute("height", main.rows());
    if (&layer != &main) {
        double x = LevelFormat::parallaxFactor(layer.pixelWidth(), main.pixelWidth(), ScreenWidth);
        double y = LevelFormat::parallaxFactor(layer.pixelHeight(), main.pixelHeight(), ScreenHeight);
        if (x != 1.0)
            element->SetAttribute("parallaxx", shortestDecimal(x).c_str());
        if (y != 1.0)
            element->SetAttribute("parallaxy", shortestDecimal(y).c_str());
    }

    std::vector<unsigned> gids(layer.tileCount());
    for (int k = 0; k < layer.tileCount(); k++)
        gids[k] = layer.tileIsClear(k) ? 0 : firstGid + layer.tiledId(k);
    std::string csv = "\n";
    for (int r = 0; r < main.rows(); r++) {
        for (int c = 0; c < main.columns(); c++) {
            bool inside = r < layer.rows() && c < layer.columns();
            csv += std::to_string(inside ? gids[layer.tileAt(c, r)] : 0);
            if (r + 1 < main.rows() || c + 1 < main.columns())
                csv += ',';
        }
        csv += '\n';
    }
    XMLElement* data = element->InsertNewChildElement("data");
    data->SetAttribute("encoding", "csv");
    data->SetText(csv.c_str());
    return element;
}

std::string MapDocument::text() const
{
    TiledPrinter printer;
    document.Print(&printer);
    return std::string(printer.CStr(), printer.CStrSize() - 1);
}
