#ifndef SKIFF_TOOLS_LEVEL_MAPDOCUMENT_H
#define SKIFF_TOOLS_LEVEL_MAPDOCUMENT_H

#include <tinyxml2.h>

#include <string>

class TileLayer;

// The level's Tiled map, into which the generator writes its layers. The tilesets named like a
// generated layer and the tile layers directly in the map (not in a group) are the generator's and
// are replaced; everything else (the title, the aliens, the other tilesets) stays as the author left it.
class MapDocument {
public:
    MapDocument();
    virtual ~MapDocument();

    // Reads the map at path. 0, or -1 with the reason on stderr.
    int load(const std::string& path);
    // Puts in the count layers, the last one the main layer, each showing the tileset picture
    // "<name>.png" beside the map, and gives the map the main layer's size. The kept tilesets and
    // the tile objects that show them move up when the new tiles need their gids.
    void replaceLayers(const TileLayer* const* layers, int count);
    // The map as Tiled writes it, indented by one space a level.
    std::string text() const;

private:
    tinyxml2::XMLElement* tileset(const TileLayer& layer, unsigned firstGid);
    tinyxml2::XMLElement* tileLayer(const TileLayer& layer, unsigned firstGid, const TileLayer& main, int id);

    tinyxml2::XMLDocument document;
    tinyxml2::XMLElement* map;
};

#endif
