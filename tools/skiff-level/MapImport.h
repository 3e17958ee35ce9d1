#ifndef SKIFF_LEVEL_TOOL_MAPIMPORT_H
#define SKIFF_LEVEL_TOOL_MAPIMPORT_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "TiledMap.h"
#include "level/LevelText.h"

class Diagnostics;
struct BITMAP;

// "skiff-level import": a Tiled map made into the game's level.def, level.dat and aliens.def.
// Every visible tile layer becomes a tileset block in map order, the last one the main tileset;
// background layers keep the leading columns and rows that give their parallax factors; a map
// smaller than the screen is filled out with empty cells; the "aliens" object layer gives the
// alien prototype and placements.
class MapImport {
public:
    enum { Imported = 0, Refused = 1 };

    explicit MapImport(Diagnostics* diagnostics);
    virtual ~MapImport();

    // Imports mapPath into outDirectory. An alien picture in dataRoot, the game's working directory,
    // is named from there; any other is copied into outDirectory. Imported when the level's files
    // were written, Refused otherwise.
    int run(const std::string& mapPath, const std::string& outDirectory, const std::string& dataRoot);
    // The two text files as they would be written, made by run.
    std::string levelText;
    std::string aliensText;

    // Adds each diagnostic of found to into. Those of levelDirectory's level.def and aliens.def at a line
    // that run wrote from a layer or an object go to that place of the map, naming it; the rest of
    // those files' and level.dat's go to the map as a whole; diagnostics of other files stay as they are.
    void describe(const Diagnostics& found, const std::string& levelDirectory, Diagnostics& into) const;

    // Whether run tells, in notes, what it leaves out as a matter of course: the cells beyond a background
    // layer's parallax. False unless set.
    bool verbose;

    // Columns (or rows) a background layer keeps: 320 (or 240) pixels plus its parallax factor
    // times how far the main tileset scrolls, in whole tiles.
    static int keptTiles(double parallax, int mainPixels, int screenPixels, int tileSize, int available);

private:
    // What of the map a part of a written file came from, how the author calls it, and the part's lines.
    struct Origin {
        TiledMap::Place place;
        std::string called;
        int firstLine;
        int lastLine;
    };

    bool importLayer(const TiledMap::Layer& layer, size_t index, int keptWidth, int keptHeight, LevelText::Block& block,
                     class DatafileWriter& pictures, class TileSource& tiles);
    // Warns once about each animated tile and each tileset's tile offset in a layer's tiles.
    void warnAboutTiles(const TiledMap::Layer& layer, const std::map<uint32_t, size_t>& used);
    bool importAliens(const std::vector<const TiledMap::ObjectLayer*>& layers, const std::string& dataRoot);
    bool alienPicture(const TiledMap::Object& object, const std::string& dataRoot, std::string& picture);
    // The name the game loads the picture at path by: its path in dataRoot, or the level's own copy.
    bool gamePicture(const std::string& path, const TiledMap::Place& place, const std::string& dataRoot,
                     std::string& picture);
    // The map's "title" property, or else its file name; errors for titles the game would misread.
    std::string title();
    void error(const TiledMap::Place& place, const std::string& text);

    TiledMap map;
    Diagnostics* diagnostics;
    bool failed;
    std::vector<class LayerPicture*> layerPictures;
    std::string pictureSource;  // an alien picture to copy into the level; empty when it is the game's own
    std::vector<Origin> blockOrigins;  // each block of level.def
    std::vector<Origin> alienOrigins;  // of aliens.def: the prototype, then each placement
};

#endif
