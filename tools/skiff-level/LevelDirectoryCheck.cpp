#include "LevelDirectoryCheck.h"

#include <allegro.h>

#include <filesystem>

#include "Diagnostics.h"
#include "Paths.h"
#include "aliens/Alien.h"
#include "aliens/AlienDefReader.h"
#include "core/DataPaths.h"
#include "core/Game.h"
#include "level/DatafileCheck.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "render/Screen.h"
#include "sprites/Explosion.h"

namespace {

const SourcePosition WholeFile = {0, 0};

std::string number(int64_t value)
{
    return Diagnostics::number(value);
}

}

LevelDirectoryCheck::LevelDirectoryCheck(Renderer* drawing, Diagnostics* sink)
    : levelChecker("", sink), alienChecker("", sink), levelLoaded(false), aliensPlaced(0), renderer(drawing),
      diagnostics(sink)
{
}

LevelDirectoryCheck::~LevelDirectoryCheck() {}

int LevelDirectoryCheck::run(const std::string& directory, const std::string& dataRoot)
{
    levelFile = Paths::join(directory, DataPaths::LevelDescription);
    aliensFile = Paths::join(directory, DataPaths::AlienFile);
    std::string picturesFile = Paths::join(directory, DataPaths::LevelPictures);
    levelChecker = LevelDefChecker(levelFile, diagnostics);
    alienChecker = AlienDefChecker(aliensFile, diagnostics);
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
    else if (!DatafileCheck::isLoadable(picturesFile.c_str()))
        diagnostics->error(picturesFile, WholeFile, "is not an Allegro datafile the game can load: it refuses the level");
    else if (!(pictures = load_datafile(picturesFile.c_str())))
        diagnostics->error(picturesFile, WholeFile, "cannot be loaded: the game refuses the level");

    // Without pictures the game stops before the description; it is still read, to tell what else is wrong.
    Level* level = new Level(renderer);
    levelLoaded = levelChecker.check(text, pictures, *level) == 0 && pictures;
    if (pictures)
        unload_datafile(pictures);

    std::string aliens;
    if (!Paths::read(aliensFile, aliens))
        diagnostics->warning(aliensFile, WholeFile, "is missing: the level has no aliens");
    else
        checkAliens(aliens, dataRoot, levelLoaded ? level : nullptr);
    delete level;
    return diagnostics->errorCount() > 0 ? Failed : Passed;
}

void LevelDirectoryCheck::checkAliens(const std::string& text, const std::string& dataRoot, Level* level)
{
    // The game's own reader builds the prototypes and aliens, with its pictures looked for in dataRoot;
    // the aliens it made are the ones tested against the terrain.
    Game game;
    game.renderer = renderer;
    game.level = level;
    game.explosionPrototypes.push_back(new Explosion());
    game.explosionPrototypes.push_back(new Explosion());
    // The game names its pictures relative to its working directory.
    std::error_code failed;
    std::filesystem::path previous = std::filesystem::current_path(failed);
    std::filesystem::current_path(dataRoot, failed);
    if (failed && level)
        diagnostics->error(aliensFile, WholeFile,
                           "the data directory " + Diagnostics::quoted(dataRoot) + ", where the alien pictures lie, cannot be entered");
    alienChecker.check(text, game);
    std::filesystem::current_path(previous, failed);
    game.level = nullptr;
    if (!level)
        return;
    aliensPlaced = static_cast<int>(game.aliens.size());

    for (size_t i = 0; i < game.alienPrototypes.size(); ++i) {
        if (!game.alienPrototypes[i]->hasFrame())
            diagnostics->error(aliensFile, alienChecker.prototypes[i].at,
                               "picture " + Diagnostics::quoted(alienChecker.prototypes[i].picture) + " cannot be loaded from " +
                                   Diagnostics::quoted(dataRoot) + ": " +
                                   (i == 0 ? "the aliens are invisible and never collide" : "this prototype has no frame"));
    }

    const Tileset& main = *level->mainTileset;
    size_t index = 0;
    int found = 0;
    const int shown = AlienDefChecker::MaxReported * 3;
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
}

void LevelDirectoryCheck::printSummary(FILE* out) const
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
                int rangeX = main.pixelWidth() - ScreenWidth;
                int rangeY = main.pixelHeight() - ScreenHeight;
                std::string factorX = rangeX == 0 ? "-" : "";
                std::string factorY = rangeY == 0 ? "-" : "";
                char text[64];
                if (rangeX != 0) {
                    snprintf(text, sizeof text, "%.3f", double(block.pixelWidth() - ScreenWidth) / rangeX);
                    factorX = text;
                }
                if (rangeY != 0) {
                    snprintf(text, sizeof text, "%.3f", double(block.pixelHeight() - ScreenHeight) / rangeY);
                    factorY = text;
                }
                fprintf(out, ", parallax %s x %s", factorX.c_str(), factorY.c_str());
            }
            fprintf(out, "\n");
        }
        // The level ends when the main tileset's right edge is on screen; it scrolls 0.2 px a step, 100 steps a second.
        const double margin = ScreenWidth + 0.5;
        double scroll = main.pixelWidth() - margin;
        if (scroll > 0)
            fprintf(out, "scrolls for %.1f s ((%d - %.1f) px at 20 px/s)\n", scroll / 20.0, main.pixelWidth(), margin);
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
