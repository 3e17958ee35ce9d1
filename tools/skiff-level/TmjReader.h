#ifndef SKIFF_LEVEL_TOOL_TMJREADER_H
#define SKIFF_LEVEL_TOOL_TMJREADER_H

#include <nlohmann/json_fwd.hpp>

#include "TiledReader.h"

// Tiled's JSON formats: maps (.tmj, or .json) and tilesets (.tsj, or .json). Errors name the
// JSON path of the bad value, such as layers[2].data[17].
class TmjReader : public TiledReader {
public:
    explicit TmjReader(TiledMap& map);

    // Both refuse a file whose "type" is neither absent nor the kind they read.
    void readMap(const std::string& path, const std::string& contents) override;
    bool readTileset(const std::string& path, const std::string& contents, TiledMap::Tileset& tileset) override;

private:
    // Fields of an object: fallback when absent; false after reporting a value of the wrong kind.
    bool whole(const nlohmann::json& owner, const std::string& path, const char* key, int fallback, int& value);
    bool positive(const nlohmann::json& owner, const std::string& path, const char* key, int& value);
    bool number(const nlohmann::json& owner, const std::string& path, const char* key, double fallback,
                double& value);
    bool string(const nlohmann::json& owner, const std::string& path, const char* key, std::string& value);
    // Whether text, found at path, holds no NUL; reports an error when it does.
    bool withoutNul(const std::string& text, const std::string& path);
    bool flag(const nlohmann::json& owner, const std::string& path, const char* key, bool fallback, bool& value);
    // The array under key, or null when absent; reports a value that is no array.
    const nlohmann::json* list(const nlohmann::json& owner, const std::string& path, const char* key);
    // Sets value from key when it is of the kind isKind tells; leaves it when absent. False after
    // reporting that it is not kind.
    template <typename T>
    bool field(const nlohmann::json& owner, const std::string& path, const char* key,
               bool (nlohmann::json::*isKind)() const noexcept, const char* kind, T& value);
    // Parses contents as the file path, a JSON object of the given "type"; false after reporting why not.
    bool parse(const std::string& path, const std::string& contents, const char* type, nlohmann::json& root);
    void readLayers(const nlohmann::json& list, const std::string& path, const TiledMap::LayerLook& group);
    bool readLook(const nlohmann::json& layer, const std::string& path, const TiledMap::LayerLook& group,
                  TiledMap::LayerLook& look);
    void readTileLayer(const nlohmann::json& layer, const std::string& path, const TiledMap::LayerLook& look);
    bool readData(const nlohmann::json& owner, const std::string& path, const std::string& encoding,
                  const std::string& compression, const std::string& name, TiledMap::Chunk& chunk);
    void readObjectLayer(const nlohmann::json& layer, const std::string& path, const TiledMap::LayerLook& look);
    bool readTilesetObject(const nlohmann::json& object, const std::string& path, TiledMap::Tileset& tileset);
    bool readTile(const nlohmann::json& tile, const std::string& path, TiledMap::Tileset& tileset);
    void readProperties(const nlohmann::json& owner, const std::string& path, TiledMap::Properties& properties);

    TiledMap::Place at(const std::string& path) const;

    enum { MaxGroupDepth = 100 };
    // Bytes the parsed values of a file may take at most, as estimated before it is parsed.
    static constexpr int64_t MaxHeldBytes = int64_t(256) << 20;

    std::string file;
    int groupDepth;
};

#endif
