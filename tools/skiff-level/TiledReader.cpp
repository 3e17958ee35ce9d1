#include "TiledReader.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "LayerData.h"
#include "TmjReader.h"
#include "TmxReader.h"

TiledReader::TiledReader(TiledMap& into) : map(into) {}

TiledReader::~TiledReader() {}

TiledReader* TiledReader::forContents(const std::string& path, const std::string& contents, TiledMap& map)
{
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(tolower(c)); });
    if (extension == ".json" || extension == ".tmj" || extension == ".tsj")
        return new TmjReader(map);
    if (extension == ".tmx" || extension == ".tsx")
        return new TmxReader(map);
    size_t at = contents.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (at < contents.size() && isspace(static_cast<unsigned char>(contents[at])))
        ++at;
    if (at < contents.size() && contents[at] == '{')
        return new TmjReader(map);
    return new TmxReader(map);
}

std::string TiledReader::called(const std::string& name)
{
    return "layer \"" + name + "\"";
}

bool TiledReader::readCells(const std::string& text, const std::string& encoding, const std::string& compression,
                            const std::string& name, TiledMap::Chunk& chunk)
{
    if (!map.fits(chunk.width, chunk.height, chunk.place, called(name)))
        return false;
    LayerData data(static_cast<size_t>(chunk.width) * static_cast<size_t>(chunk.height));
    if (!data.read(text, encoding, compression)) {
        TiledMap::Place at = chunk.place;
        at.line += at.line > 0 ? data.problemLine : 0;
        map.error(at, called(name) + ": " + data.problem);
        return false;
    }
    chunk.gids.swap(data.gids);
    if (chunk.place.line > 0) {
        for (int offset : data.lines)
            chunk.lines.push_back(chunk.place.line + offset);
    }
    return true;
}
