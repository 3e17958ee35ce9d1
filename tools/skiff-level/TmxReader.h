#ifndef SKIFF_LEVEL_TOOL_TMXREADER_H
#define SKIFF_LEVEL_TOOL_TMXREADER_H

#include "TiledReader.h"

namespace tinyxml2 {
class XMLDocument;
class XMLElement;
}

// Tiled's XML formats: TMX maps and TSX tilesets.
class TmxReader : public TiledReader {
public:
    // Elements and attributes of a file at most, which the XML parser holds all at once.
    enum { MaxElements = 1 << 20, MaxAttributes = 1 << 20 };
    explicit TmxReader(TiledMap& map);
    virtual ~TmxReader();

    void readMap(const std::string& path, const std::string& contents) override;
    bool readTileset(const std::string& path, const std::string& contents, TiledMap::Tileset& tileset) override;

private:
    // Parses contents as the file path, whose root element must be root; false after reporting why not.
    bool parse(const std::string& path, const std::string& contents, tinyxml2::XMLDocument& document,
               const char* root);
    void readLayers(const tinyxml2::XMLElement* parent, const TiledMap::LayerLook& group);
    bool readLook(const tinyxml2::XMLElement* element, const TiledMap::LayerLook& group, TiledMap::LayerLook& look);
    void readTileLayer(const tinyxml2::XMLElement* element, const TiledMap::LayerLook& look);
    bool readData(const tinyxml2::XMLElement* element, const std::string& encoding, const std::string& compression,
                  const std::string& name, TiledMap::Chunk& chunk);
    void readObjectLayer(const tinyxml2::XMLElement* element, const TiledMap::LayerLook& look);
    bool readTilesetElement(const tinyxml2::XMLElement* element, TiledMap::Tileset& tileset);
    // The "trans" colour of an <image> as 0xRRGGBB, -1 for none; false after reporting a bad one.
    bool transparent(const tinyxml2::XMLElement* image, int& colour);
    void readProperties(const tinyxml2::XMLElement* element, TiledMap::Properties& properties);
    // An attribute that must be a whole number when given, fallback when not; false after reporting why not.
    bool integer(const tinyxml2::XMLElement* element, const char* name, int fallback, int& value);
    // An attribute that must be a whole number of at least 1; false after reporting why not.
    bool positive(const tinyxml2::XMLElement* element, const char* name, int& value);
    TiledMap::Place at(const tinyxml2::XMLElement* element) const;

    std::string file;
};

#endif
