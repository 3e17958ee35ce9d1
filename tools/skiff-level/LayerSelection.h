#ifndef SKIFF_LEVEL_TOOL_LAYERSELECTION_H
#define SKIFF_LEVEL_TOOL_LAYERSELECTION_H

#include <string>
#include <vector>

#include "TiledMap.h"

// What of a map becomes the level: its visible tile layers and its "aliens" object layers.
// Everything else the game cannot show is left out with a warning that names it.
class LayerSelection {
public:
    // Goes through map's layers, reporting what is left out to the map.
    explicit LayerSelection(TiledMap& map);
    virtual ~LayerSelection();

    std::vector<const TiledMap::Layer*> tileLayers;        // in map order
    std::vector<const TiledMap::ObjectLayer*> alienLayers;

private:
    // Warns about what of look the game does not show; false when the layer is left out.
    bool keep(const TiledMap::LayerLook& look, const std::string& kind, bool offsetShown);

    TiledMap& map;
};

#endif
