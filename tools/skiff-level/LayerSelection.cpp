#include "LayerSelection.h"

#include "Diagnostics.h"

LayerSelection::LayerSelection(TiledMap& into) : map(into)
{
    for (const TiledMap::Layer& layer : map.layers) {
        if (keep(layer.look, "layer", false))
            tileLayers.push_back(&layer);
    }
    for (const TiledMap::ObjectLayer& layer : map.objectLayers) {
        if (layer.look.name != "aliens")
            map.warning(layer.look.place, "object layer \"" + layer.look.name + "\" is left out: the game does not "
                                          "show objects, only the aliens of the object layer named \"aliens\"");
        else if (keep(layer.look, "object layer", true))
            alienLayers.push_back(&layer);
    }
    for (const TiledMap::LayerLook& look : map.imageLayers)
        map.warning(look.place, "image layer \"" + look.name + "\" is left out: the game does not show image layers");
    if (map.parallaxOrigin)
        map.warning(map.place, "the map's parallax origin is left out: the game does not show it, and scrolls "
                               "every layer from the map's top-left corner");
}

LayerSelection::~LayerSelection() {}

bool LayerSelection::keep(const TiledMap::LayerLook& look, const std::string& kind, bool offsetShown)
{
    std::string called = kind + " \"" + look.name + "\"";
    if (!look.visible) {
        map.warning(look.place, called + " is hidden: it is left out, as the game does not show it");
        return false;
    }
    if (look.opacity != 1.0)
        map.warning(look.place, called + " has opacity " + Diagnostics::decimal(look.opacity) +
                                    ": the game does not show it, and draws the layer opaque");
    if (look.tinted)
        map.warning(look.place, called + " is tinted: the game does not show it, and draws the layer's own colours");
    if (!offsetShown && (look.offsetX != 0.0 || look.offsetY != 0.0))
        map.warning(look.place, called + " is offset by (" + Diagnostics::decimal(look.offsetX) + ", " +
                                    Diagnostics::decimal(look.offsetY) +
                                    ") pixels: the game does not show it, and draws the layer from the map's corner");
    return true;
}
