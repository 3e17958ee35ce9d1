#ifndef SKIFF_LEVEL_TOOL_TILESOURCE_H
#define SKIFF_LEVEL_TOOL_TILESOURCE_H

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "TiledMap.h"

struct BITMAP;

// Where the picture of a tile lies: in its tileset's picture, cut by tile size, margin and spacing,
// or in a picture of its own (a collection of images, whole or a sub-rectangle). Loads each
// picture once and reports each broken tileset once. The pictures held together stay within MaxPictureBytes.
class TileSource {
public:
    // Bytes of decoded pictures held at once at most, at 32 bits a pixel.
    static constexpr int64_t MaxPictureBytes = int64_t(256) << 20;

    explicit TileSource(TiledMap& map);
    // Destroys the pictures.
    virtual ~TileSource();

    // The picture and top-left corner of the tile gid (flip bits cleared), which a tile layer called
    // layer uses at place and which must be size x size pixels. False after reporting why not.
    bool find(uint32_t gid, const std::string& layer, const TiledMap::Place& place, int size, BITMAP*& picture,
              int& x, int& y);

private:
    BITMAP* load(const std::string& path, int transparentColour, const TiledMap::Place& place,
                 const std::string& owner);

    TiledMap& map;
    std::map<std::string, BITMAP*> pictures;     // by path and transparent colour; null when it failed
    std::set<const TiledMap::Tileset*> refused;  // tilesets already reported as unusable
    int64_t bytesHeld;
};

#endif
