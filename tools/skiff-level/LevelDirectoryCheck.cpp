#include "LevelDirectoryCheck.h"

#include <allegro.h>

#include <filesystem>

#include "AlienDefChecker.h"
#include "Diagnostics.h"
#include "LevelDefChecker.h"
#include "TiledMap.h"
#include "core/DataPaths.h"
#include "core/FileBytes.h"
#include "core/Game.h"
#include "core/ScratchDirectory.h"
#include "level/DatafileCheck.h"
#include "level/Level.h"
#include "level/LevelFormat.h"
#include "level/Tileset.h"
#include "render/Screen.h"
#include "sprites/Explosion.h"

namespace {

// A background layer's parallax factor along an axis, "-" where the main tileset never scrolls that way.
std::string factor(double value, int32_t mainExtent, int screenExtent)
{
    char text[32];
    snprintf(text, sizeof text, "%.3f", value);
    return mainExtent == screenExtent ? "-" : text;
}

}

LevelDirectoryCheck::LevelDirectoryCheck(const std::string& root, Diagnostics* sink)
    : level(nullptr), aliensPlaced(0), dataRoot(root), diagnostics(sink)
{
}

LevelDirectoryCheck::~LevelDirectoryCheck()
{
    delete level;
}

int LevelDirectoryCheck::run(const std::string& directory)
{
    std::filesystem::path base(directory);
    std::string levelFile = (base / DataPaths::LevelDescription).string();
    std::string picturesFile = (base / DataPaths::LevelPictures).string();
    delete level;
    level = nullptr;
    aliensPlaced = 0;

    std::string text;
    std::string why = TiledMap::readFile(levelFile, text, LevelFormat::MaxTextBytes);
    if (!why.empty()) {
        diagnostics->add(Diagnostics::Error, levelFile, Diagnostics::WholeFile,
                         "the level description " + why + ": the game refuses the level");
        return Failed;
    }
    DATAFILE* pictures = nullptr;
    int answer = FileBytes::check(picturesFile, DatafileCheck::MaxFileBytes);
    if (answer == FileBytes::Missing)
        diagnostics->add(Diagnostics::Error, picturesFile, Diagnostics::WholeFile,
                         "the tile pictures are missing: the game refuses the level");
    else if (answer != FileBytes::Read)
        diagnostics->add(Diagnostics::Error, picturesFile, Diagnostics::WholeFile,
                         "the tile pictures' file " + TiledMap::fileProblem(answer, DatafileCheck::MaxFileBytes) +
                             ": the game refuses the level");
    else if (!DatafileCheck::isLoadable(picturesFile.c_str()))
        diagnostics->add(Diagnostics::Error, picturesFile, Diagnostics::WholeFile,
                         "the tile pictures are no Allegro datafile the game can load: it refuses the level");
    else if (!(pictures = load_datafile(picturesFile.c_str())))
        diagnostics->add(Diagnostics::Error, picturesFile, Diagnostics::WholeFile,
                         "the tile pictures cannot be loaded: the game refuses the level");

    // Without pictures the game stops before the description; it is still read, to tell what else is wrong.
    Level* read = new Level(nullptr);
    LevelDefChecker levelChecker(levelFile, diagnostics);
    if (levelChecker.check(text, pictures, *read) == 0 && pictures)
        level = read;
    else
        delete read;
    if (pictures)
        unload_datafile(pictures);

    checkAliens((base / DataPaths::AlienFile).string());
    return diagnostics->count(Diagnostics::Error) > 0 ? Failed : Passed;
}

void LevelDirectoryCheck::checkAliens(const std::string& aliensFile)
{
    std::string text;
    int answer = FileBytes::readAtMost(aliensFile, text, LevelFormat::MaxTextBytes);
    if (answer == FileBytes::Missing) {
        diagnostics->add(Diagnostics::Warning, aliensFile, Diagnostics::WholeFile,
                         "the alien list is missing: the level has no aliens");
        return;
    }
    if (answer != FileBytes::Read) {
        diagnostics->add(Diagnostics::Error, aliensFile, Diagnostics::WholeFile,
                         "the alien list " + TiledMap::fileProblem(answer, LevelFormat::MaxTextBytes) +
                             ": the game refuses the level");
        return;
    }
    // The game's own reader builds the prototypes and aliens, naming its pictures relative to the
    // working directory as the game does.
    Game game;
    game.level = level;
    game.explosionPrototypes.push_back(new Explosion());
    game.explosionPrototypes.push_back(new Explosion());
    std::error_code failed;
    std::filesystem::path previous = std::filesystem::current_path(failed);
    ScratchDirectory working("", "skiff-level-check-");
    bool entered = playedFrom(working.path(), std::filesystem::path(aliensFile).parent_path().string());
    if (entered)
        std::filesystem::current_path(working.path(), failed);
    if ((!entered || failed) && level)
        diagnostics->add(Diagnostics::Error, aliensFile, Diagnostics::WholeFile,
                         "the data directory " + Diagnostics::quoted(dataRoot) +
                             ", where the alien pictures lie, cannot be entered");
    AlienDefChecker alienChecker(aliensFile, diagnostics);
    alienChecker.check(text, game, level, dataRoot);
    std::filesystem::current_path(previous, failed);
    if (level)
        aliensPlaced = static_cast<int>(game.aliens.size());
    game.level = nullptr;
}

bool LevelDirectoryCheck::playedFrom(const std::string& working, const std::string& levelDirectory) const
{
    if (working.empty())
        return false;
    std::error_code failed;
    std::filesystem::path root = std::filesystem::absolute(dataRoot, failed);
    std::filesystem::path levelFolder = std::filesystem::path(DataPaths::Level).parent_path();
    for (std::filesystem::directory_iterator it(root, failed), end; !failed && it != end; it.increment(failed)) {
        if (it->path().filename() != levelFolder)
            std::filesystem::create_symlink(it->path(), std::filesystem::path(working) / it->path().filename(), failed);
    }
    if (failed)
        return false;
    std::filesystem::path level = std::filesystem::absolute(levelDirectory.empty() ? "." : levelDirectory, failed);
    std::filesystem::create_symlink(level, std::filesystem::path(working) / levelFolder, failed);
    return !failed;
}

void LevelDirectoryCheck::printSummary(FILE* out, const Diagnostics& counted) const
{
    if (level) {
        const std::vector<Tileset*>& layers = level->tilesets;
        const Tileset& main = *level->mainTileset;
        fprintf(out, "level \"%s\": %s\n", Diagnostics::printable(level->title).c_str(),
                Diagnostics::plural(static_cast<int64_t>(layers.size()), "layer", "layers").c_str());
        for (size_t i = 0; i < layers.size(); ++i) {
            const Tileset& layer = *layers[i];
            bool isMain = i + 1 == layers.size();
            std::string name = isMain ? "main" : "layer " + Diagnostics::number(static_cast<int64_t>(i));
            fprintf(out, "  %-8s %d x %d tiles of %d px = %d x %d px", (name + ":").c_str(), layer.width, layer.height,
                    layer.tileSize, layer.pixelWidth(), layer.pixelHeight());
            if (!isMain)
                fprintf(out, ", parallax %s x %s", factor(layer.factorX, main.pixelWidth(), ScreenWidth).c_str(),
                        factor(layer.factorY, main.pixelHeight(), ScreenHeight).c_str());
            fprintf(out, "\n");
        }
        int64_t steps = LevelFormat::scrollSteps(main.pixelWidth());
        if (steps > 0)
            fprintf(out, "scrolls for %.1f s (%lld steps of %g px, %d a second)\n",
                    static_cast<double>(steps) / Game::StepsPerSecond, static_cast<long long>(steps),
                    LevelFormat::ScrollStep, static_cast<int>(Game::StepsPerSecond));
        else
            fprintf(out, "does not scroll: the main tileset is no wider than the screen\n");
        fprintf(out, "%s\n", Diagnostics::plural(aliensPlaced, "alien", "aliens").c_str());
    } else {
        fprintf(out, "the game refuses this level\n");
    }
    fprintf(out, "%s, %s\n", Diagnostics::plural(counted.count(Diagnostics::Error), "error", "errors").c_str(),
            Diagnostics::plural(counted.count(Diagnostics::Warning), "warning", "warnings").c_str());
}
