#ifndef SKIFF_LEVEL_TOOL_TILEDMAP_H
#define SKIFF_LEVEL_TOOL_TILEDMAP_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class Diagnostics;

namespace tinyxml2 {
class XMLElement;
}

// A map of the Tiled map editor (TMX), as far as a Skiff level can use it: orthogonal,
// finite, CSV-encoded tile layers, tilesets in the map or in .tsx files, object layers.
class TiledMap {
public:
    enum : uint32_t { FlipBits = 0xF0000000u, GidBits = 0x0FFFFFFFu };

    struct Property {
        std::string value;
        int line;
    };
    typedef std::map<std::string, Property> Properties;

    struct Tileset {
        uint32_t firstGid;
        std::string name;
        std::string file;            // the map or the .tsx the tileset is defined in
        int line;                    // of its <tileset> element in that file
        int tileWidth;
        int tileHeight;
        int tileCount;
        int columns;
        int spacing;
        int margin;
        std::string image;           // path of its picture; empty for a collection of images
        int imageLine;
        int transparentColour;       // 0xRRGGBB of its picture's "trans", or -1
        std::string alignment;       // where tile objects are anchored; "" means bottom-left
        std::map<int, std::string> tileImages;  // collection of images: picture path of each tile id
        std::map<int, int> tileImageLines;
    };

    struct Layer {
        std::string name;
        int line;
        int width;
        int height;
        double parallaxX;
        double parallaxY;
        std::vector<uint32_t> gids;  // row by row, flip bits included
        std::vector<int> gidLines;   // line of each number in the map
    };

    struct Object {
        uint32_t gid;                // 0 for rectangles and points
        double x;
        double y;
        double width;
        double height;
        bool hasSize;
        int line;
    };

    struct ObjectLayer {
        std::string name;
        int line;
        Properties properties;
        std::vector<Object> objects;
    };

    TiledMap();
    virtual ~TiledMap();

    // Reads the map at path with its .tsx tilesets; 0 when it can be used, -1 after the errors
    // that say why are reported.
    int load(const std::string& path, Diagnostics* diagnostics);
    // The tileset a GID (without flip bits) belongs to; null when none does.
    const Tileset* tilesetOf(uint32_t gid) const;

    std::string file;
    int width;
    int height;
    int tileWidth;
    int tileHeight;
    Properties properties;
    std::vector<Tileset> tilesets;
    std::vector<Layer> layers;             // tile layers in map order
    std::vector<ObjectLayer> objectLayers;

private:
    bool readTileset(const tinyxml2::XMLElement* element, const std::string& inFile, Tileset& tileset);
    bool readLayer(const tinyxml2::XMLElement* element, Layer& layer);
    bool readObjectLayer(const tinyxml2::XMLElement* element, ObjectLayer& layer);
    static void readProperties(const tinyxml2::XMLElement* element, Properties& properties);
    bool positiveAttribute(const tinyxml2::XMLElement* element, const std::string& inFile, const char* name,
                           int& value);
    void error(const std::string& inFile, int line, const std::string& text);

    Diagnostics* diagnostics;
    bool failed;
};

#endif
