#ifndef SKIFF_LEVEL_TOOL_LAYERDATA_H
#define SKIFF_LEVEL_TOOL_LAYERDATA_H

#include <cstdint>
#include <string>
#include <vector>

// The cells of a layer or chunk as Tiled writes them in text: CSV, or base64 of little-endian
// 32-bit numbers, plain or compressed with zlib, gzip or zstd.
class LayerData {
public:
    // For a layer or chunk of cells cells.
    explicit LayerData(size_t cells);
    virtual ~LayerData();

    // Reads text written with encoding ("csv" or "base64") and compression ("" or a method Inflater
    // knows). False when it cannot: problem says why, problemLine counts the line ends before it.
    // Base64 data must hold exactly 4 bytes a cell; CSV may hold any count, for the caller to judge.
    bool read(const std::string& text, const std::string& encoding, const std::string& compression);

    std::vector<uint32_t> gids;
    std::vector<int> lines;          // CSV: line ends in text before each number
    std::string problem;
    int problemLine;

private:
    bool readCsv(const std::string& text);
    bool readBinary(const std::string& bytes);

    size_t cells;
};

#endif
