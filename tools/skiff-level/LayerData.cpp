#include "LayerData.h"

#include <cerrno>
#include <cstdlib>

#include "Base64.h"
#include "Inflater.h"

LayerData::LayerData(size_t count) : problemLine(0), cells(count) {}

LayerData::~LayerData() {}

bool LayerData::read(const std::string& text, const std::string& encoding, const std::string& compression)
{
    gids.clear();
    lines.clear();
    problemLine = 0;
    if (encoding == "csv" && compression.empty())
        return readCsv(text);
    if (encoding != "base64") {
        problem = encoding == "csv" ? "its CSV data says it is compressed with \"" + compression +
                                          "\": only base64 data is compressed"
                                    : "its data is encoded as \"" + encoding + "\": Tiled writes csv or base64";
        return false;
    }
    if (!compression.empty() && !Inflater::knows(compression)) {
        problem = "its data is compressed with \"" + compression + "\": the importer reads zlib, gzip and zstd";
        return false;
    }
    std::string bytes;
    if (!Base64::decode(text, bytes, problem))
        return false;
    if (compression.empty())
        return readBinary(bytes);
    std::string inflated;
    if (!Inflater::inflate(compression, bytes, cells * 4, inflated, problem))
        return false;
    return readBinary(inflated);
}

bool LayerData::readBinary(const std::string& bytes)
{
    if (bytes.size() != cells * 4) {
        problem = "its data decodes to " + std::to_string(bytes.size()) + " bytes, not the " +
                  std::to_string(cells * 4) + " of its " + std::to_string(cells) + " cells (4 bytes a cell)";
        return false;
    }
    gids.resize(cells);
    for (size_t i = 0; i < cells; ++i) {
        const unsigned char* at = reinterpret_cast<const unsigned char*>(bytes.data()) + i * 4;
        gids[i] = static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
                  static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
    }
    return true;
}

bool LayerData::readCsv(const std::string& text)
{
    int line = 0;
    size_t at = 0;
    bool commaAllowed = false;
    while (at < text.size()) {
        char c = text[at];
        if (isspace(static_cast<unsigned char>(c)) || (c == ',' && commaAllowed)) {
            line += c == '\n';
            commaAllowed = commaAllowed && c != ',';
            ++at;
            continue;
        }
        size_t end = at;
        while (end < text.size() && text[end] != ',' && !isspace(static_cast<unsigned char>(text[end])))
            ++end;
        std::string value = text.substr(at, end - at);
        char* stop = nullptr;
        errno = 0;
        unsigned long gid = strtoul(value.c_str(), &stop, 10);
        if (value.empty() || !isdigit(static_cast<unsigned char>(value[0])) || *stop != '\0' || errno != 0 ||
            gid > 0xFFFFFFFFul) {
            problem = "\"" + value + "\" is not a tile number";
            problemLine = line;
            return false;
        }
        gids.push_back(static_cast<uint32_t>(gid));
        lines.push_back(line);
        commaAllowed = true;
        at = end;
    }
    return true;
}
