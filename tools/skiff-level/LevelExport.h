#ifndef SKIFF_LEVEL_TOOL_LEVELEXPORT_H
#define SKIFF_LEVEL_TOOL_LEVELEXPORT_H

#include <string>

class Diagnostics;

// "skiff-level export": a level directory written as a Tiled map, for levels made before
// their map existed. Each tileset block becomes a tile layer with parallax factors that
// import gives back the same size, each picture a PNG tileset beside the map, and the
// aliens an "aliens" object layer of tile objects showing their picture.
class LevelExport {
public:
    explicit LevelExport(Diagnostics* diagnostics);
    virtual ~LevelExport();

    // Writes the level in directory as mapPath; dataRoot is the game's working directory, where
    // the alien picture lies. 0 on success, -1 after reporting why not.
    int run(const std::string& directory, const std::string& mapPath, const std::string& dataRoot);
    // The shortest decimal parallax factor that gives a background layer of tiles columns (or rows)
    // back through the import's rounding.
    static std::string parallaxText(int tiles, int mainPixels, int screenPixels, int tileSize);

private:
    Diagnostics* diagnostics;
};

#endif
