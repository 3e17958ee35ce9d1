#ifndef SKIFF_LEVEL_TOOL_TILEDMAP_H
#define SKIFF_LEVEL_TOOL_TILEDMAP_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "Diagnostics.h"

// A map of the Tiled map editor, TMX or JSON, as far as a Skiff level can use it. Both readers
// fill this one model; every rule about what it holds is applied here or after, never in a reader.
class TiledMap {
public:
    enum : uint32_t { FlipBits = 0xE0000000u, HexagonalBit = 0x10000000u, GidBits = 0x0FFFFFFFu };
    enum : uint32_t { FlipX = 0x80000000u, FlipY = 0x40000000u, FlipDiagonal = 0x20000000u };
    // Cells of one layer or chunk at most: far beyond any level, and bounds what a map can make us allocate.
    enum { MaxCells = 1 << 22 };
    // Cells of the whole map at most: every chunk read and every grid made, of all layers together.
    enum { MaxMapCells = 1 << 24 };
    // Bytes of a map or tileset file at most: a large map is a few megabytes.
    enum { MaxFileBytes = 16 << 20 };

    // Where a value stands: a line of an XML file, or a JSON path (line 0) of a JSON file.
    struct Place {
        std::string file;
        int line;
        std::string path;
    };

    struct Property {
        std::string value;
        Place place;
    };
    typedef std::map<std::string, Property> Properties;

    // What every kind of layer has, combined with the groups it lies in.
    struct LayerLook {
        std::string name;
        Place place;
        bool visible;
        double opacity;
        bool tinted;
        double offsetX;
        double offsetY;
        double parallaxX;
        double parallaxY;

        LayerLook();
        // Takes in the enclosing group's look, as Tiled does: parallax and opacity multiply, offsets add.
        void within(const LayerLook& group);
    };

    struct TileImage {
        std::string image;           // empty when the tile has no picture of its own
        Place place;
        int transparentColour;
        int x;                       // sub-rectangle of the image; width -1 means the whole image
        int y;
        int width;
        int height;
        bool animated;
    };

    struct Tileset {
        uint32_t firstGid;
        std::string name;
        Place place;                 // of the tileset itself, in the map or in its own file
        int tileWidth;
        int tileHeight;
        int tileCount;
        int spacing;
        int margin;
        int offsetX;                 // its tile offset
        int offsetY;
        std::string image;           // path of its picture; empty for a collection of images
        Place imagePlace;
        int transparentColour;       // 0xRRGGBB of its picture's "trans", or -1
        std::string alignment;       // where tile objects are anchored; "" means bottom-left
        std::map<int, TileImage> tiles;  // by tile id: own pictures and animations
    };

    // Cells as a reader found them: a whole finite layer, or one chunk of an infinite one.
    struct Chunk {
        Place place;                 // of the data; a JSON path is that of the array or string
        int x;
        int y;
        int width;
        int height;
        std::vector<uint32_t> gids;  // row by row, flip bits included
        std::vector<int> lines;      // line of each number in XML; empty when all stand at place
    };

    // A hidden layer (look.visible false) holds neither chunks nor a grid: it is left out unread.
    struct Layer {
        LayerLook look;
        int width;
        int height;
        std::vector<Chunk> chunks;
        std::vector<uint32_t> gids;  // the grid, row by row, made from the chunks
        std::vector<int> cellChunk;  // chunk each cell came from, -1 for none
        std::vector<int> cellIndex;  // and its index in that chunk
    };

    struct Object {
        int id;                      // 0 when the map gives none
        std::string name;
        uint32_t gid;                // 0 for shapes
        std::string shape;           // "" for rectangles and tile objects, else "ellipse", "point", ...
        double x;
        double y;
        double width;
        double height;
        bool hasSize;
        double rotation;
        Place place;
    };

    struct ObjectLayer {
        LayerLook look;
        Properties properties;
        std::vector<Object> objects;
    };

    TiledMap();
    virtual ~TiledMap();

    // Reads the map at path, TMX or JSON, with its tileset files; 0 when it can be used, -1 after
    // the errors that say why are reported.
    int load(const std::string& path, Diagnostics* diagnostics);
    // Reads the tileset file path (TSX or JSON) into tileset, keeping its firstGid; false after reporting why not.
    bool loadTileset(const std::string& path, const Place& namedAt, Tileset& tileset);
    // The tileset a GID (without flip bits) belongs to; null when none does.
    const Tileset* tilesetOf(uint32_t gid) const;
    // Where cell (row by row) of a layer's grid was written.
    Place cellPlace(const Layer& layer, size_t cell) const;
    // Check what a reader found in the map's own attributes, its orientation first and its tile size
    // then; false when the map cannot be imported at all.
    bool checkOrientation();
    bool checkTileSize();
    // Whether a grid of width x height cells may be read or made, within MaxCells and, with the cells
    // asked for before, MaxMapCells; reports an error at place when not. The cells count as asked for.
    bool fits(int64_t width, int64_t height, const Place& place, const std::string& what);
    // Whether one more object may be read: the map's object layers together hold no more than the
    // aliens the game places (LevelFormat::MaxAliens). Reports an error at place the first time not.
    bool objectFits(const Place& place);
    // Reads the map file or a tileset file it names into contents, as readFile does up to MaxFileBytes; empty
    // when read, else why not. load and loadTileset read only through it, so that a map can come from memory.
    virtual std::string readMapFile(const std::string& path, std::string& contents);
    // Reads a file the map names, a regular file of at most maxBytes; empty when read, else why not,
    // as a sentence's end ("is not a regular file ...").
    static std::string readFile(const std::string& path, std::string& contents, int64_t maxBytes);
    // What readFile says for an answer of FileBytes::readAtMost or FileBytes::check.
    static std::string fileProblem(int answer, int64_t maxBytes);
    // "#rrggbb" or "rrggbb" as 0xRRGGBB; -2 when text is not that (-1 stands for "no colour" in the model).
    static int colour(const std::string& text);
    // Whether a layer's "tintcolor" changes how it looks: given, and not white.
    static bool tints(const std::string& text);

    void error(const Place& place, const std::string& text);
    void warning(const Place& place, const std::string& text);
    void note(const Place& place, const std::string& text);
    // Adds a diagnostic at place to into: at its line, and with its JSON path in front of the text.
    static void add(Diagnostics& into, Diagnostics::Severity severity, const Place& place, const std::string& text);

    std::string file;
    std::string orientation;
    bool infinite;
    int width;
    int height;
    int tileWidth;
    int tileHeight;
    int originX;                     // map pixel of the grid's left edge: chunks may start left of 0
    int originY;
    bool parallaxOrigin;             // whether the map moves Tiled's parallax origin
    Place place;
    Properties properties;
    std::vector<Tileset> tilesets;
    std::vector<Layer> layers;       // tile layers in map order, groups taken apart
    std::vector<ObjectLayer> objectLayers;
    std::vector<LayerLook> imageLayers;

private:
    // Reports each tileset whose tiles cannot be cut as its numbers say: sizes below 1, margins, spacings
    // or sub-rectangle corners below 0. The picture's own bounds are checked where it is loaded.
    void checkTilesets();
    void makeGrids();

    Diagnostics* diagnostics;
    bool failed;
    int64_t cellsAsked;
    int64_t objectsRead;
};

#endif
