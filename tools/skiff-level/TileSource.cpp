#include "TileSource.h"

#include <allegro.h>

#include <algorithm>

#include "Diagnostics.h"
#include "TilePicture.h"

TileSource::TileSource(TiledMap& into) : map(into), bytesHeld(0) {}

TileSource::~TileSource()
{
    for (std::map<std::string, BITMAP*>::iterator it = pictures.begin(); it != pictures.end(); ++it) {
        if (it->second)
            destroy_bitmap(it->second);
    }
}

BITMAP* TileSource::load(const std::string& path, int transparentColour, const TiledMap::Place& place,
                         const std::string& owner)
{
    std::string key = path + "#" + std::to_string(transparentColour);
    std::map<std::string, BITMAP*>::iterator known = pictures.find(key);
    if (known != pictures.end())
        return known->second;
    std::string problem;
    BITMAP* picture = TilePicture::load(path, transparentColour, problem);
    if (!picture)
        map.error(place, "the picture " + Diagnostics::quoted(path) + " of " + owner + " " + problem);
    int64_t bytes = picture ? static_cast<int64_t>(picture->w) * picture->h * 4 : 0;
    // Many large pictures, each within the limits, could together still take all the memory there is.
    if (picture && bytesHeld + bytes > MaxPictureBytes) {
        map.error(place, "the picture " + Diagnostics::quoted(path) + " of " + owner + " (" +
                             Diagnostics::size(picture->w, picture->h) + " pixels) brings the tile pictures to " +
                             Diagnostics::grouped((bytesHeld + bytes) >> 20) + " MB decoded, past the importer's " +
                             Diagnostics::grouped(MaxPictureBytes >> 20) + " MB");
        destroy_bitmap(picture);
        picture = nullptr;
    } else {
        bytesHeld += bytes;
    }
    pictures[key] = picture;
    return picture;
}

bool TileSource::find(uint32_t gid, const std::string& layer, const TiledMap::Place& place, int tileSize,
                      BITMAP*& picture, int& x, int& y)
{
    const TiledMap::Tileset* tileset = map.tilesetOf(gid);
    std::string usedBy = "layer " + Diagnostics::quoted(layer);
    if (!tileset) {
        map.error(place, usedBy + ": tile " + std::to_string(gid) + " belongs to no tileset");
        return false;
    }
    if (refused.count(tileset))
        return false;
    int id = static_cast<int>(gid - tileset->firstGid);
    std::string tile = "tile " + std::to_string(gid) + " (tile " + std::to_string(id) + " of tileset " +
                       Diagnostics::quoted(tileset->name) + ")";
    std::string owner = "tileset " + Diagnostics::quoted(tileset->name);
    std::map<int, TiledMap::TileImage>::const_iterator own = tileset->tiles.find(id);
    if (tileset->image.empty()) {
        if (own == tileset->tiles.end() || own->second.image.empty()) {
            map.error(place, usedBy + ": " + tile + " has no picture");
            return false;
        }
        const TiledMap::TileImage& image = own->second;
        picture = load(image.image, image.transparentColour, image.place, owner);
        if (!picture)
            return false;
        int width = image.width < 0 ? picture->w : image.width;
        int height = image.height < 0 ? picture->h : image.height;
        if (width != tileSize || height != tileSize) {
            map.error(place, usedBy + ": " + tile + " is " + Diagnostics::size(width, height) +
                                 " pixels, the map's tiles " + Diagnostics::size(tileSize, tileSize) +
                                 ": every tile of a tile layer has the map's size");
            return false;
        }
        // The corner is not below 0 (TiledMap checked it), but may lie anywhere beyond.
        if (static_cast<int64_t>(image.x) + width > picture->w || static_cast<int64_t>(image.y) + height > picture->h) {
            map.error(image.place, owner + ": tile " + std::to_string(id) + " reaches beyond its picture " +
                                       Diagnostics::quoted(image.image) + " of " +
                                       Diagnostics::size(picture->w, picture->h) + " pixels");
            return false;
        }
        x = image.x;
        y = image.y;
        return true;
    }
    if (tileset->tileWidth != tileSize || tileset->tileHeight != tileSize) {
        map.error(place, usedBy + ": " + tile + " is " + Diagnostics::size(tileset->tileWidth, tileset->tileHeight) +
                             " pixels, the map's tiles " + Diagnostics::size(tileSize, tileSize) +
                             ": every tile of a tile layer has the map's size");
        refused.insert(tileset);
        return false;
    }
    picture = load(tileset->image, tileset->transparentColour, tileset->imagePlace, owner);
    if (!picture) {
        refused.insert(tileset);
        return false;
    }
    // Margin and spacing are not below 0 (TiledMap checked them), so step is at least 1; 64 bits hold every sum.
    int64_t step = static_cast<int64_t>(tileSize) + tileset->spacing;
    int64_t reach = static_cast<int64_t>(tileset->spacing) - tileset->margin;
    int64_t columns = std::max<int64_t>(0, (picture->w + reach) / step);
    int64_t rows = std::max<int64_t>(0, (picture->h + reach) / step);
    if (id >= columns * rows) {
        map.error(place, usedBy + ": " + tile + " lies beyond the picture " + Diagnostics::quoted(tileset->image) +
                             ", which holds " + Diagnostics::plural(columns * rows, "tile", "tiles"));
        return false;
    }
    x = static_cast<int>(tileset->margin + id % columns * step);
    y = static_cast<int>(tileset->margin + id / columns * step);
    return true;
}
