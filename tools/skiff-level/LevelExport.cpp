#include "LevelExport.h"

#include <allegro.h>

#include <cstdlib>
#include <map>
#include <vector>

#include "Diagnostics.h"
#include "LevelDirectoryCheck.h"
#include "MapImport.h"
#include "Paths.h"
#include "TilePicture.h"
#include "core/DataPaths.h"
#include "level/DatafileCheck.h"
#include "render/Screen.h"
#include "sprites/PictureCheck.h"

namespace {

const SourcePosition WholeFile = {0, 0};

std::string number(int64_t value)
{
    return std::to_string(value);
}

std::string escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out.push_back(c); break;
        }
    }
    return out;
}

// A name for a picture of the datafile: its NAME property without "_BMP", in lower case.
std::string pictureName(const DATAFILE& object, int index)
{
    std::string name = get_datafile_property(&object, DAT_NAME);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, "_BMP") == 0)
        name.resize(name.size() - 4);
    std::string clean;
    for (char c : name) {
        if (isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_')
            clean.push_back(static_cast<char>(tolower(static_cast<unsigned char>(c))));
    }
    return clean.empty() ? "picture" + number(index) : clean;
}

struct ExportedTileset {
    int pictureIndex;
    std::string name;
    int firstGid;
    int columns;
    int rows;
    std::vector<bool> empty;  // by game tile number
};

}

LevelExport::LevelExport(Diagnostics* sink) : diagnostics(sink) {}

LevelExport::~LevelExport() {}

std::string LevelExport::parallaxText(int tiles, int mainPixels, int screenPixels, int tileSize)
{
    if (mainPixels == screenPixels)
        return "1";
    double exact = double(tiles * tileSize - screenPixels) / (mainPixels - screenPixels);
    for (int digits = 1; digits <= 12; ++digits) {
        char text[40];
        snprintf(text, sizeof text, "%.*f", digits, exact);
        std::string value = text;
        while (value.size() > 1 && value.back() == '0')
            value.pop_back();
        if (value.back() == '.')
            value.pop_back();
        if (MapImport::keptTiles(atof(value.c_str()), mainPixels, screenPixels, tileSize, tiles + 1) == tiles)
            return value;
    }
    return "1";
}

int LevelExport::run(const std::string& directory, const std::string& mapPath, const std::string& dataRoot)
{
    LevelDirectoryCheck check(nullptr, diagnostics);
    check.run(directory, dataRoot);
    if (!check.levelLoaded) {
        diagnostics->error(mapPath, WholeFile, "not written: the game does not load the level");
        return -1;
    }
    const std::vector<CheckedBlock>& blocks = check.levelChecker.blocks;
    const CheckedBlock& main = blocks.back();
    const int tileSize = main.tileSize;
    std::string levelFile = Paths::join(directory, DataPaths::LevelDescription);
    for (const CheckedBlock& block : blocks) {
        if (block.tileSize != tileSize) {
            diagnostics->error(levelFile, block.start, "a Tiled map has one tile size: this block's tiles are " +
                                                           number(block.tileSize) + " pixels, the main tileset's " +
                                                           number(tileSize));
            return -1;
        }
        if (block.width > main.width || block.height > main.height) {
            diagnostics->error(levelFile, block.start, "this layer is larger than the main tileset: a Tiled map's "
                                                       "layers are no larger than the map");
            return -1;
        }
    }

    std::string picturesFile = Paths::join(directory, DataPaths::LevelPictures);
    DATAFILE* pictures = DatafileCheck::isLoadable(picturesFile.c_str()) ? load_datafile(picturesFile.c_str()) : nullptr;
    if (!pictures) {
        diagnostics->error(picturesFile, WholeFile, "cannot be loaded");
        return -1;
    }
    std::string mapDirectory = Paths::parent(mapPath);
    std::vector<ExportedTileset> tilesets;
    std::map<int, size_t> tilesetOfPicture;
    int nextGid = 1;
    bool good = true;
    for (const CheckedBlock& block : blocks) {
        if (tilesetOfPicture.count(block.pictureIndex))
            continue;
        BITMAP* picture = static_cast<BITMAP*>(pictures[block.pictureIndex].dat);
        ExportedTileset tileset;
        tileset.pictureIndex = block.pictureIndex;
        tileset.name = pictureName(pictures[block.pictureIndex], block.pictureIndex);
        for (const ExportedTileset& other : tilesets) {
            if (other.name == tileset.name)
                tileset.name += number(block.pictureIndex);
        }
        tileset.columns = picture->w / tileSize;
        tileset.rows = picture->h / tileSize;
        tileset.firstGid = nextGid;
        nextGid += tileset.columns * tileset.rows;
        BITMAP* whole = create_bitmap_ex(32, tileset.columns * tileSize, tileset.rows * tileSize);
        blit(picture, whole, 0, 0, 0, 0, whole->w, whole->h);
        for (int k = 0; k < tileset.columns * tileset.rows; ++k)
            tileset.empty.push_back(
                TilePicture::isEmpty(whole, (k / tileset.rows) * tileSize, (k % tileset.rows) * tileSize, tileSize));
        std::string png = Paths::join(mapDirectory, tileset.name + ".png");
        if (TilePicture::savePng(png, whole) != 0) {
            diagnostics->error(png, WholeFile, "cannot be written");
            good = false;
        }
        destroy_bitmap(whole);
        tilesetOfPicture[block.pictureIndex] = tilesets.size();
        tilesets.push_back(tileset);
    }
    unload_datafile(pictures);
    if (!good)
        return -1;

    const ExportedTileset& mainTiles = tilesets[tilesetOfPicture[main.pictureIndex]];
    if (!mainTiles.empty[0]) {
        for (uint8_t cell : main.cells) {
            if (cell == 0) {
                diagnostics->warning(levelFile, main.start,
                                     "tile 0 of the main tileset has solid pixels: the game never collides with it, "
                                     "but the imported map will");
                break;
            }
        }
    }

    std::string aliensFile = Paths::join(directory, DataPaths::AlienFile);
    const std::vector<CheckedPrototype>& prototypes = check.alienChecker.prototypes;
    const std::vector<CheckedPlacement>& placements = check.alienChecker.placements;
    int alienWidth = 0, alienHeight = 0, alienGid = 0;
    std::string alienSource;
    if (!prototypes.empty()) {
        std::string path = Paths::join(dataRoot, prototypes[0].picture);
        BITMAP* alien = PictureCheck::isLoadable(path.c_str()) ? load_bitmap(path.c_str(), nullptr) : nullptr;
        if (!alien) {
            diagnostics->error(aliensFile, prototypes[0].at, "the picture " + path + " cannot be loaded");
            return -1;
        }
        alienWidth = alien->w;
        alienHeight = alien->h;
        destroy_bitmap(alien);
        alienSource = Paths::relative(path, mapDirectory);
        alienGid = nextGid;
        for (size_t k = 1; k < prototypes.size(); ++k)
            diagnostics->warning(aliensFile, prototypes[k].at, "only the first prototype, which every alien copies, "
                                                               "is carried over");
    }

    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    int layerCount = static_cast<int>(blocks.size()) + (prototypes.empty() ? 0 : 1);
    xml += "<map version=\"1.10\" orientation=\"orthogonal\" renderorder=\"right-down\" width=\"" + number(main.width) +
           "\" height=\"" + number(main.height) + "\" tilewidth=\"" + number(tileSize) + "\" tileheight=\"" +
           number(tileSize) + "\" infinite=\"0\" nextlayerid=\"" + number(layerCount + 1) + "\" nextobjectid=\"" +
           number(static_cast<int64_t>(placements.size()) + 1) + "\">\n";
    xml += " <properties>\n  <property name=\"title\" value=\"" + escaped(check.levelChecker.title) + "\"/>\n </properties>\n";
    for (const ExportedTileset& tileset : tilesets) {
        xml += " <tileset firstgid=\"" + number(tileset.firstGid) + "\" name=\"" + tileset.name + "\" tilewidth=\"" +
               number(tileSize) + "\" tileheight=\"" + number(tileSize) + "\" tilecount=\"" +
               number(tileset.columns * tileset.rows) + "\" columns=\"" + number(tileset.columns) + "\">\n";
        xml += "  <image source=\"" + escaped(tileset.name) + ".png\" width=\"" + number(tileset.columns * tileSize) +
               "\" height=\"" + number(tileset.rows * tileSize) + "\"/>\n </tileset>\n";
    }
    if (!prototypes.empty()) {
        xml += " <tileset firstgid=\"" + number(alienGid) + "\" name=\"aliens\" tilewidth=\"" + number(alienWidth) +
               "\" tileheight=\"" + number(alienHeight) + "\" tilecount=\"1\" columns=\"0\">\n";
        xml += "  <grid orientation=\"orthogonal\" width=\"1\" height=\"1\"/>\n";
        xml += "  <tile id=\"0\">\n   <image source=\"" + escaped(alienSource) + "\" trans=\"ff00ff\" width=\"" +
               number(alienWidth) + "\" height=\"" + number(alienHeight) + "\"/>\n  </tile>\n </tileset>\n";
    }

    std::vector<std::string> layerNames;
    for (size_t i = 0; i < blocks.size(); ++i) {
        const CheckedBlock& block = blocks[i];
        const ExportedTileset& tileset = tilesets[tilesetOfPicture[block.pictureIndex]];
        std::string name = tileset.name;
        for (const std::string& other : layerNames) {
            if (other == name)
                name += number(static_cast<int64_t>(i));
        }
        layerNames.push_back(name);
        xml += " <layer id=\"" + number(static_cast<int64_t>(i) + 1) + "\" name=\"" + escaped(name) + "\" width=\"" +
               number(main.width) + "\" height=\"" + number(main.height) + "\"";
        if (i + 1 < blocks.size()) {
            std::string parallaxX = parallaxText(block.width, main.pixelWidth(), ScreenWidth, tileSize);
            std::string parallaxY = parallaxText(block.height, main.pixelHeight(), ScreenHeight, tileSize);
            if (parallaxX != "1")
                xml += " parallaxx=\"" + parallaxX + "\"";
            if (parallaxY != "1")
                xml += " parallaxy=\"" + parallaxY + "\"";
        }
        xml += ">\n  <data encoding=\"csv\">\n";
        for (int r = 0; r < main.height; ++r) {
            for (int c = 0; c < main.width; ++c) {
                int gid = 0;
                if (r < block.height && c < block.width) {
                    int k = block.cells[static_cast<size_t>(r) * block.width + c];
                    if (!tileset.empty[k])
                        gid = tileset.firstGid + (k % tileset.rows) * tileset.columns + k / tileset.rows;
                }
                xml += number(gid);
                if (r + 1 < main.height || c + 1 < main.width)
                    xml += ",";
            }
            xml += "\n";
        }
        xml += "</data>\n </layer>\n";
    }
    if (!prototypes.empty()) {
        xml += " <objectgroup id=\"" + number(layerCount) + "\" name=\"aliens\">\n";
        xml += "  <properties>\n   <property name=\"explosion\" type=\"int\" value=\"" +
               number(prototypes[0].explosionKind) + "\"/>\n  </properties>\n";
        int id = 1;
        for (const CheckedPlacement& placement : placements)
            xml += "  <object id=\"" + number(id++) + "\" gid=\"" + number(alienGid) + "\" x=\"" + number(placement.x) +
                   "\" y=\"" + number(placement.y + alienHeight) + "\" width=\"" + number(alienWidth) +
                   "\" height=\"" + number(alienHeight) + "\"/>\n";
        xml += " </objectgroup>\n";
    }
    xml += "</map>\n";
    if (!Paths::write(mapPath, xml)) {
        diagnostics->error(mapPath, WholeFile, "cannot be written");
        return -1;
    }
    return 0;
}
