// skiff-playtest: plays the shipped level in-process, without a display, to tune where the
// aliens wait. Run it from data/.
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Autopilot.h"
#include "FlightPlan.h"
#include "FreeSpace.h"
#include "MapPicture.h"
#include "PlayReport.h"
#include "Playthrough.h"
#include "core/DataPaths.h"
#include "core/Game.h"
#include "level/Level.h"
#include "sprites/Player.h"

namespace {
enum Mode { Idle, Firing, Plain, Human };

void usage()
{
    fprintf(stderr,
            "usage: skiff-playtest [--idle | --fire | --autopilot | --seed N] [--runs K]\n"
            "                      [--level DIR] [--picture FILE] [--fates] [--watch FROM TO]\n"
            "  --idle        nobody at the keys\n"
            "  --fire        nobody steers, the fire button is held\n"
            "  --autopilot   a good player (the default)\n"
            "  --seed N      a good but human player, drawn from seed N\n"
            "  --runs K      K human players, seeds N to N + K - 1 (N = 1 without --seed), and a summary\n"
            "  --level DIR   the level directory, \"level0/\" by default\n"
            "  --picture F   a BMP of the map with the placements and the (last) flight\n"
            "  --fates       what became of each alien (single runs)\n"
            "  --watch A B   prints steps A to B: the ship, its keys, the aliens on screen\n"
            "Run it from the game's data directory.\n");
}

bool readNumber(const char* text, int& value)
{
    char* end = nullptr;
    const long number = strtol(text, &end, 10);
    if (!text[0] || *end || number < 0 || number > 1000000)
        return false;
    value = (int)number;
    return true;
}
}

int main(int argc, char** argv)
{
    Mode mode = Plain;
    int seed = 1;
    int runs = 0;
    const char* levelDirectory = DataPaths::Level;
    const char* pictureFile = nullptr;
    bool fates = false;
    int watchFrom = 0, watchTo = -1;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!strcmp(argv[i], "--idle")) {
            mode = Idle;
        } else if (!strcmp(argv[i], "--fire")) {
            mode = Firing;
        } else if (!strcmp(argv[i], "--autopilot")) {
            mode = Plain;
        } else if (!strcmp(argv[i], "--seed") && hasValue && readNumber(argv[i + 1], seed)) {
            mode = Human;
            ++i;
        } else if (!strcmp(argv[i], "--runs") && hasValue && readNumber(argv[i + 1], runs) && runs > 0) {
            ++i;
        } else if (!strcmp(argv[i], "--level") && hasValue) {
            levelDirectory = argv[++i];
        } else if (!strcmp(argv[i], "--watch") && i + 2 < argc && readNumber(argv[i + 1], watchFrom) &&
                   readNumber(argv[i + 2], watchTo)) {
            i += 2;
        } else if (!strcmp(argv[i], "--fates")) {
            fates = true;
        } else if (!strcmp(argv[i], "--picture") && hasValue) {
            pictureFile = argv[++i];
        } else {
            usage();
            return 2;
        }
    }
    if (runs > 0)
        mode = Human;

    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return 1;
    set_color_depth(32);

    Playthrough survey;
    if (survey.load(levelDirectory) != 0) {
        fprintf(stderr, "cannot load the level %s (run from the data directory)\n", levelDirectory);
        return 1;
    }
    printf("placements: %d\n", (int)survey.game->aliens.size());
    FreeSpace room(*survey.game->level, *survey.game->player);
    FlightPlan plan(room);

    const int count = runs > 0 ? runs : 1;
    int finished = 0, livesLost = 0, fewest = 99, most = 0, byTerrain = 0, byAlien = 0;
    PlayReport report;
    for (int run = 0; run < count; ++run) {
        Playthrough playthrough;
        if (playthrough.load(levelDirectory) != 0)
            return 1;
        Pilot idle(mode == Firing);
        Autopilot autopilot(room, plan);
        if (mode == Human)
            autopilot.makeHuman((unsigned)(seed + run));
        Pilot& pilot = mode == Idle || mode == Firing ? idle : autopilot;
        if (watchTo >= watchFrom)
            playthrough.watch(stdout, watchFrom, watchTo);
        playthrough.play(pilot, report);
        if (runs > 0) {
            printf("seed %d: %s, lives lost %d (terrain %d, alien %d), steps %d, aliens shot %d crashed %d "
                   "rammed %d gone %d\n",
                   seed + run, report.endReached ? "finished" : "game over", report.livesLost(),
                   report.deathsBy(PlayReport::ByTerrain), report.deathsBy(PlayReport::ByAlien), report.steps,
                   report.aliens[PlayReport::Shot], report.aliens[PlayReport::Crashed],
                   report.aliens[PlayReport::Rammed], report.aliens[PlayReport::Gone]);
        } else {
            report.print(stdout);
            if (fates)
                report.printFates(stdout);
        }
        finished += report.endReached;
        livesLost += report.livesLost();
        fewest = report.livesLost() < fewest ? report.livesLost() : fewest;
        most = report.livesLost() > most ? report.livesLost() : most;
        byTerrain += report.deathsBy(PlayReport::ByTerrain);
        byAlien += report.deathsBy(PlayReport::ByAlien);
    }
    if (runs > 0)
        printf("summary: %d of %d finished; lives lost %d to %d, %.2f on average (terrain %d, alien %d)\n",
               finished, count, fewest, most, (double)livesLost / count, byTerrain, byAlien);

    if (pictureFile) {
        MapPicture picture(*survey.game, &report);
        if (picture.save(pictureFile) != 0) {
            fprintf(stderr, "cannot write %s\n", pictureFile);
            return 1;
        }
    }
    return 0;
}
