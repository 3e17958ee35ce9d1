#ifndef SKIFF_LEVEL_TOOL_TESTS_MAPFILES_H
#define SKIFF_LEVEL_TOOL_TESTS_MAPFILES_H

#include <cstdint>
#include <string>
#include <vector>

// Pieces of Tiled maps for the tests, laid out as Tiled writes them.
class MapFiles {
public:
    // The XML declaration, the <map> line with the given size and extra attributes, the body, </map>.
    static std::string map(int width, int height, int tileSize, const std::string& body,
                           const std::string& attributes = "");
    // A tileset with one picture cut into tiles.
    static std::string tileset(int firstGid, const std::string& name, int tileSize, int columns, int tiles,
                               const std::string& image, const std::string& imageAttributes = "");
    // A CSV tile layer, one row of the grid a line.
    static std::string layer(const std::string& name, int width, int height, const std::vector<uint32_t>& gids,
                             const std::string& attributes = "");
    // A layer whose <data> has the given attributes (encoding, compression) and text.
    static std::string dataLayer(const std::string& name, int width, int height, const std::string& dataAttributes,
                                 const std::string& data);
    // The cells as Tiled stores them in binary: little-endian 32-bit numbers.
    static std::string bytes(const std::vector<uint32_t>& gids);
    // bytes compressed with compression ("", "zlib", "gzip" or "zstd"), in base64.
    static std::string packed(const std::string& bytes, const std::string& compression);
    // Line (from 1) of the first occurrence of part in text; 0 when absent.
    static int lineOf(const std::string& text, const std::string& part);
};

#endif
