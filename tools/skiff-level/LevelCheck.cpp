#include "LevelCheck.h"

#include <allegro.h>

#include <sstream>

#include "Diagnostics.h"
#include "Paths.h"
#include "aliens/Alien.h"
#include "aliens/AlienDefReader.h"
#include "core/DataPaths.h"
#include "core/Game.h"
#include "headless/WorkingDirectory.h"
#include "level/DatafileCheck.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "sprites/Explosion.h"

namespace {

const SourcePosition WholeFile = {0, 0};

std::string number(int64_t value)
{
    return std::to_string(value);
}

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

}

LevelCheck::LevelCheck(Renderer* drawing, Diagnostics* sink)
    : levelChecker("", sink), alienChecker("", sink), levelLoaded(false), aliensPlaced(0), renderer(drawing),
      diagnostics(sink)
{
}

LevelCheck::~LevelCheck() {}

int LevelCheck::run(const std::string& directory, const std::string& dataRoot)
{
    levelFile = Paths::join(directory, DataPaths::LevelDescription);
    aliensFile = Paths::join(directory, DataPaths::AlienFile);
    std::string picturesFile = Paths::join(directory, DataPaths::LevelPictures);
    levelChecker = LevelChecker(levelFile, diagnostics);
    alienChecker = AlienChecker(aliensFile, diagnostics);
    levelLoaded = false;
    aliensPlaced = 0;

    std::string text;
    if (!Paths::read(levelFile, text)) {
        diagnostics->error(levelFile, WholeFile, "cannot be read: the game refuses the level");
        return Failed;
    }
    DATAFILE* pictures = nullptr;
    if (!Paths::exists(picturesFile))
        diagnostics->error(picturesFile, WholeFile, "is missing: the game refuses the level");
    else if (!DatafileCheck::isSound(picturesFile.c_str()))
        diagnostics->error(picturesFile, WholeFile, "is not an Allegro datafile the game can load: it refuses the level");
    else if (!(pictures = load_datafile(picturesFile.c_str())))
        diagnostics->error(picturesFile, WholeFile, "cannot be loaded: the game refuses the level");

    levelLoaded = levelChecker.check(text, pictures) == 0 && pictures;
    Level* level = new Level(renderer);
    std::istringstream in(text);
    int gameResult = pictures ? level->readDescription(in, pictures) : -1;
    bool agreed = (gameResult == 0) == levelLoaded && (!levelLoaded || sameBlocks(*level));
    if (pictures)
        unload_datafile(pictures);
    if (!agreed) {
        diagnostics->error(levelFile, WholeFile,
                           "the checker and the game's Level disagree about the blocks kept (checker " +
                               number(static_cast<int64_t>(levelChecker.blocks.size())) + ", game " +
                               number(static_cast<int64_t>(level->tilesets.size())) + "): please report this");
        delete level;
        return Disagreed;
    }

    int result = Passed;
    std::string aliens;
    if (!Paths::read(aliensFile, aliens))
        diagnostics->warning(aliensFile, WholeFile, "is missing: the level has no aliens");
    else if (levelLoaded)
        result = checkAliens(aliens, dataRoot, level);
    else
        alienChecker.check(aliens);
    delete level;
    if (result == Disagreed)
        return Disagreed;
    return diagnostics->errorCount() > 0 ? Failed : Passed;
}

bool LevelCheck::sameBlocks(const Level& level) const
{
    if (level.tilesets.size() != levelChecker.blocks.size())
        return false;
    for (size_t i = 0; i < level.tilesets.size(); ++i) {
        const Tileset& tileset = *level.tilesets[i];
        const CheckedBlock& block = levelChecker.blocks[i];
        if (tileset.tileSize != block.tileSize || tileset.width != block.width || tileset.height != block.height ||
            tileset.tiles.size() != block.cells.size() ||
            tileset.tilePictures.size() != static_cast<size_t>(block.tileCount))
            return false;
        for (size_t k = 0; k < block.cells.size(); ++k) {
            if (tileset.tiles[k].index != block.cells[k])
                return false;
        }
    }
    return true;
}

int LevelCheck::checkAliens(const std::string& text, const std::string& dataRoot, Level* level)
{
    alienChecker.check(text);

    // The game's own reader, prototypes and aliens on the same text: what it keeps must be what
    // the checker says, and the aliens it made are the ones tested against the terrain.
    Game game;
    game.renderer = renderer;
    game.level = level;
    game.explosionPrototypes.push_back(new Explosion());
    game.explosionPrototypes.push_back(new Explosion());
    {
        WorkingDirectory inDataRoot(dataRoot);
        if (!inDataRoot.entered())
            diagnostics->error(aliensFile, WholeFile,
                               "the data directory " + quoted(dataRoot) + ", where the alien pictures lie, cannot be entered");
        std::istringstream in(text);
        AlienDefReader reader(&game, in);
    }
    aliensPlaced = static_cast<int>(game.aliens.size());
    bool agreed = game.alienPrototypes.size() == alienChecker.prototypes.size() &&
                  game.aliens.size() == alienChecker.placements.size();
    size_t index = 0;
    for (const Alien* alien : game.aliens) {
        if (!agreed)
            break;
        const CheckedPlacement& placement = alienChecker.placements[index++];
        agreed = alien->x == placement.x && alien->y == placement.y;
    }
    if (!agreed) {
        diagnostics->error(aliensFile, WholeFile,
                           "the checker and the game's alien reader disagree about the aliens kept: please report this");
        game.level = nullptr;
        return Disagreed;
    }

    for (size_t i = 0; i < game.alienPrototypes.size(); ++i) {
        if (!game.alienPrototypes[i]->hasFrame())
            diagnostics->error(aliensFile, alienChecker.prototypes[i].at,
                               "picture " + quoted(alienChecker.prototypes[i].picture) + " cannot be loaded from " +
                                   quoted(dataRoot) + ": " +
                                   (i == 0 ? "the aliens are invisible and never collide" : "this prototype has no frame"));
    }

    const Tileset& main = *level->mainTileset;
    index = 0;
    int found = 0;
    const int shown = AlienChecker::MaxReported * 3;
    for (const Alien* alien : game.aliens) {
        const CheckedPlacement& placement = alienChecker.placements[index++];
        bool wakes = placement.x > 0;
        bool inside = placement.x >= 0 && placement.y >= 0 &&
                      placement.x + static_cast<int64_t>(alien->frameWidth) <= main.pixelWidth() &&
                      placement.y + static_cast<int64_t>(alien->frameHeight) <= main.pixelHeight();
        bool buried = inside && alien->hitsTerrain(*level);
        found += !wakes + !inside + buried;
        if (found > shown)
            continue;
        std::string where = "the alien at (" + number(placement.x) + ", " + number(placement.y) + ")";
        if (!wakes)
            diagnostics->error(aliensFile, placement.at,
                               where + " never wakes: an alien wakes when it scrolls in from the right, and the view "
                               "starts at x = 0");
        if (!inside)
            diagnostics->error(aliensFile, placement.at,
                               where + ", " + number(alien->frameWidth) + " x " + number(alien->frameHeight) +
                                   " pixels, is outside the " + number(main.pixelWidth()) + " x " +
                                   number(main.pixelHeight()) + " pixel map");
        if (buried)
            diagnostics->error(aliensFile, placement.at,
                               where + " is inside solid terrain: it explodes as soon as the game starts");
    }
    if (found > shown)
        diagnostics->error(aliensFile, WholeFile,
                           number(found - shown) + " more placement problems like these are not listed");
    game.level = nullptr;
    return Passed;
}

void LevelCheck::printSummary(FILE* out) const
{
    if (levelLoaded) {
        const std::vector<CheckedBlock>& blocks = levelChecker.blocks;
        const CheckedBlock& main = blocks.back();
        fprintf(out, "level \"%s\": %zu %s\n", levelChecker.title.c_str(), blocks.size(),
                blocks.size() == 1 ? "layer" : "layers");
        for (size_t i = 0; i < blocks.size(); ++i) {
            const CheckedBlock& block = blocks[i];
            bool isMain = i + 1 == blocks.size();
            std::string name = isMain ? "main" : "layer " + number(static_cast<int64_t>(i));
            fprintf(out, "  %-8s %d x %d tiles of %d px = %d x %d px", (name + ":").c_str(), block.width, block.height,
                    block.tileSize, block.pixelWidth(), block.pixelHeight());
            if (!isMain) {
                int rangeX = main.pixelWidth() - LevelChecker::ScreenWidth;
                int rangeY = main.pixelHeight() - LevelChecker::ScreenHeight;
                std::string factorX = rangeX == 0 ? "-" : "";
                std::string factorY = rangeY == 0 ? "-" : "";
                char text[64];
                if (rangeX != 0) {
                    snprintf(text, sizeof text, "%.3f", double(block.pixelWidth() - LevelChecker::ScreenWidth) / rangeX);
                    factorX = text;
                }
                if (rangeY != 0) {
                    snprintf(text, sizeof text, "%.3f", double(block.pixelHeight() - LevelChecker::ScreenHeight) / rangeY);
                    factorY = text;
                }
                fprintf(out, ", parallax %s x %s", factorX.c_str(), factorY.c_str());
            }
            fprintf(out, "\n");
        }
        double scroll = main.pixelWidth() - 320.5;
        if (scroll > 0)
            fprintf(out, "scrolls for %.1f s ((%d - 320.5) px at 20 px/s)\n", scroll / 20.0, main.pixelWidth());
        else
            fprintf(out, "does not scroll: the main tileset is no wider than the screen\n");
        fprintf(out, "%d %s\n", aliensPlaced, aliensPlaced == 1 ? "alien" : "aliens");
    } else {
        fprintf(out, "the game refuses this level\n");
    }
    int errors = diagnostics->errorCount();
    int warnings = diagnostics->warningCount();
    fprintf(out, "%d %s, %d %s\n", errors, errors == 1 ? "error" : "errors", warnings,
            warnings == 1 ? "warning" : "warnings");
}
