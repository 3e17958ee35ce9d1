#ifndef SKIFF_LEVEL_TOOL_TILEDREADER_H
#define SKIFF_LEVEL_TOOL_TILEDREADER_H

#include <string>

#include "TiledMap.h"

// Reads one of the file formats of Tiled into the map model; errors go to the map, which
// carries on reading past them to report as many as it can.
class TiledReader {
public:
    explicit TiledReader(TiledMap& map);
    virtual ~TiledReader();

    // Fills the map from the contents of the map file at path.
    virtual void readMap(const std::string& path, const std::string& contents) = 0;
    // Fills tileset, its firstGid kept, from the contents of the tileset file at path; false when it cannot be used.
    virtual bool readTileset(const std::string& path, const std::string& contents, TiledMap::Tileset& tileset) = 0;

    // The reader for the file at path: JSON for .json, .tmj and .tsj, XML for .tmx and .tsx, and by
    // its contents otherwise (JSON when they start with "{"). The caller deletes it.
    static TiledReader* forContents(const std::string& path, const std::string& contents, TiledMap& map);

protected:
    // Reads the cells of chunk, written as text with encoding and compression; false after reporting
    // why not, as a problem of the layer called name.
    bool readCells(const std::string& text, const std::string& encoding, const std::string& compression,
                   const std::string& name, TiledMap::Chunk& chunk);
    // "layer \"name\"".
    static std::string called(const std::string& name);

    TiledMap& map;
};

#endif
