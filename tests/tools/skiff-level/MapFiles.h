#ifndef SKIFF_LEVEL_TOOL_TESTS_MAPFILES_H
#define SKIFF_LEVEL_TOOL_TESTS_MAPFILES_H

#include <cstdint>
#include <string>
#include <vector>

// Pieces of Tiled maps, laid out as Tiled writes them.
namespace MapFiles {

// The XML declaration, the <map> line with the given size, the body, </map>.
std::string map(int width, int height, int tileSize, const std::string& body);
// A tileset with one picture cut into tiles.
std::string tileset(int firstGid, const std::string& name, int tileSize, int columns, int tiles,
                    const std::string& image, const std::string& imageAttributes = "");
// A layer whose <data> has the given attributes (encoding, compression) and text.
std::string dataLayer(const std::string& name, int width, int height, const std::string& dataAttributes,
                      const std::string& data, const std::string& attributes = "");
// A CSV tile layer, one row of the grid a line.
std::string layer(const std::string& name, int width, int height, const std::vector<uint32_t>& gids,
                  const std::string& attributes = "");
// The cells as Tiled stores them in binary: little-endian 32-bit numbers.
std::string bytes(const std::vector<uint32_t>& gids);
// bytes compressed with compression ("", "zlib", "gzip" or "zstd"), in base64.
std::string packed(const std::string& bytes, const std::string& compression);
// A map of 40 x 15 tiles of 16 pixels from tiles.png (2 tiles), in TMX or in JSON: layer "far", filled edge to edge,
// scrolls at half the speed of layer "main", which is solid from row 10 down; of the aliens, shown by bmp/a.bmp,
// object 3 flies free and object 7, "ufo", lies buried at (100, 200).
std::string layered(bool json);

}

#endif
