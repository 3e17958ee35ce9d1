#include "level/Level.h"

#include <allegro.h>

#include <cstring>
#include <sstream>
#include <string>

#include "core/DataPaths.h"
#include "core/FileBytes.h"
#include "core/ReadDiagnostics.h"
#include "core/TextReader.h"
#include "level/DatafileCheck.h"
#include "level/LevelFormat.h"
#include "level/Tileset.h"
#include "render/Renderer.h"
#include "render/Screen.h"

namespace {

const double ScreenCentreRow = 120.0;
const double ShipOffset = 16.0;

}

Level::Level(Renderer* renderer) : renderer(renderer), mainTileset(nullptr)
{
    title[0] = '\0';
}

Level::~Level()
{
    for (Tileset* tileset : tilesets)
        delete tileset;
}

int Level::load(const char* directory)
{
    std::string base = directory ? directory : "";
    std::string descriptionPath = base + DataPaths::LevelDescription;
    std::string text;
    int read = FileBytes::readAtMost(descriptionPath, text, LevelFormat::MaxTextBytes);
    if (read == FileBytes::Missing && renderer)
        renderer->alert("Unable to find", descriptionPath.c_str(), nullptr, "exit");
    // A FIFO, a device or a file beyond the format's size is no level; refused without waiting on it.
    if (read != FileBytes::Read && read != FileBytes::Missing)
        return -1;
    std::istringstream description(text);

    std::string picturesPath = base + DataPaths::LevelPictures;
    // load_datafile crashes on a cut or corrupted file, so it is only given one that holds together.
    DATAFILE* pictures =
        DatafileCheck::isLoadable(picturesPath.c_str()) ? load_datafile(picturesPath.c_str()) : nullptr;
    if (!pictures) {
        if (renderer)
            renderer->alert("Unable to load", picturesPath.c_str(), nullptr, "exit");
        return -1;
    }

    int result = readDescription(description, pictures);
    unload_datafile(pictures);
    return result;
}

int Level::readDescription(std::istream& in, const DATAFILE* datafile, ReadDiagnostics* diagnostics)
{
    using Sink = ReadDiagnostics;
    int64_t keywordAt = 0;
    if (!TextReader::readKeyword(in, "LEVELDEF", diagnostics, Sink::LevelKeywordMissing, &keywordAt))
        return -1;

    std::string line;
    TextReader::skipWhiteSpace(in);
    int64_t titleAt = diagnostics ? TextReader::nextTokenAt(in) : 0;
    size_t length = TextReader::readLine(in, line);
    Sink::tell(diagnostics, Sink::TitleRead, titleAt, std::string(), static_cast<int64_t>(length));
    memcpy(title, line.data(), line.size());
    title[line.size()] = '\0';
    TextReader::skipWhiteSpace(in);

    // A failed stream counts as ended; every pass reads at least one token, so the loop always ends.
    int64_t tilePixels = 0;
    while (in.good() && in.peek() != std::char_traits<char>::eof()) {
        Tileset* tileset = new Tileset(renderer);
        int64_t blockAt = diagnostics ? TextReader::nextTokenAt(in) : 0;
        if (tileset->read(in, datafile, diagnostics) != 0) {
            delete tileset;
            TextReader::skipWhiteSpace(in);
            continue;
        }
        tilePixels += static_cast<int64_t>(tileset->tilePictures.size()) * tileset->tileSize * tileset->tileSize;
        if (tilePixels > LevelFormat::MaxTilePixels) {
            Sink::tell(diagnostics, Sink::TilesTooLarge, blockAt, std::string(), tilePixels,
                       LevelFormat::MaxTilePixels);
            delete tileset;
            return -1;
        }
        tilesets.push_back(tileset);
        TextReader::skipWhiteSpace(in);
    }
    if (tilesets.empty()) {
        Sink::tell(diagnostics, Sink::NoTilesetRead, keywordAt);
        return -1;
    }

    mainTileset = tilesets.back();
    mainTileset->scrollX = 0.0;
    mainTileset->scrollY = 0.0;
    mainTileset->factorX = 1.0;
    mainTileset->factorY = 1.0;
    mainTileset->bounded = true;
    for (size_t i = 0; i + 1 < tilesets.size(); ++i) {
        Tileset* layer = tilesets[i];
        layer->scrollX = 0.0;
        layer->scrollY = 0.0;
        layer->bounded = false;
        layer->factorX = LevelFormat::parallaxFactor(layer->pixelWidth(), mainTileset->pixelWidth(), ScreenWidth);
        layer->factorY = LevelFormat::parallaxFactor(layer->pixelHeight(), mainTileset->pixelHeight(), ScreenHeight);
    }
    return 0;
}

void Level::update(int, int y)
{
    if (!mainTileset)
        return;
    double d = y - mainTileset->scrollY - ScreenCentreRow + ShipOffset;
    if (mainTileset->scrollByX(LevelFormat::ScrollStep)) {
        for (size_t i = 0; i + 1 < tilesets.size(); ++i)
            tilesets[i]->scrollByX(LevelFormat::ScrollStep);
    }
    if (mainTileset->scrollByY(d)) {
        for (size_t i = 0; i + 1 < tilesets.size(); ++i)
            tilesets[i]->scrollByY(d);
    }
}

int Level::draw()
{
    for (Tileset* tileset : tilesets)
        tileset->draw();
    return 0;
}
