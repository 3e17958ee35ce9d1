#include "AlienDefChecker.h"

#include <cstring>
#include <sstream>

#include "Diagnostics.h"
#include "aliens/Alien.h"
#include "aliens/AlienDefReader.h"
#include "core/DataPaths.h"
#include "core/Game.h"
#include "level/Level.h"
#include "level/LevelFormat.h"
#include "level/Tileset.h"

namespace {

// How the numbers of aliens.def are named: "the type of prototype 2". The first number of
// an entry also tells how many entries came when it is missing.
struct FieldName {
    ReadDiagnostics::Field field;
    const char* what;
    const char* entry;    // the kind of entry, for the ones that name it
    const char* entries;  // plural, for the first number of an entry
};

const FieldName fieldNames[] = {
    {ReadDiagnostics::PrototypeCount, "the prototype count", nullptr, nullptr},
    {ReadDiagnostics::EntryType, "the type of", "prototype", "prototypes"},
    {ReadDiagnostics::ExplosionKind, "the explosion kind of", "prototype", nullptr},
    {ReadDiagnostics::LastNumber, "the last number of", "prototype", nullptr},
    {ReadDiagnostics::PlacementCount, "the placement count", nullptr, nullptr},
    {ReadDiagnostics::PlacementFirst, "the first number of", "placement", "placements"},
    {ReadDiagnostics::PlacementX, "x of", "placement", nullptr},
    {ReadDiagnostics::PlacementY, "y of", "placement", nullptr},
};

}

AlienDefChecker::AlienDefChecker(const std::string& name, Diagnostics* sink)
    : TextChecker(name, sink), game(nullptr), level(nullptr), prototypeCount(0), placementCount(0), outside(0),
      misplaced(0), prototypesSkipped(0),
      placementsSkipped(0)
{
}

AlienDefChecker::~AlienDefChecker() {}

void AlienDefChecker::check(const std::string& text, Game& into, const Level* loaded, const std::string& root)
{
    start(text);
    game = &into;
    level = loaded;
    dataRoot = root;
    firstPicture.clear();
    outside = 0;
    misplaced = 0;
    prototypesSkipped = 0;
    placementsSkipped = 0;
    std::istringstream in(text);
    AlienDefReader reader(game, in, this);
    const int shown = MaxReported * 3;
    if (misplaced > shown)
        diagnostics->add(Diagnostics::Error, fileName, Diagnostics::WholeFile,
                         number(misplaced - shown) + " more placement problems like these are not listed");
    game = nullptr;
    level = nullptr;
}

void AlienDefChecker::report(const Report& report)
{
    int64_t at = report.at;
    const int64_t* values = report.values;
    switch (report.kind) {
    case PrototypeKeywordMissing:
        if (report.token.empty())
            warning(at, "the file is empty: the level has no aliens");
        else
            error(at, "the file must start with \"ALIENPROTOS\", not " + quoted(report.token) +
                          ": the game reads no alien from it");
        break;
    case CountRead:
        if (values[1] == 0) {
            prototypeCount = values[0];
            break;
        }
        placementCount = values[0];
        if (placementCount > 0 && game->alienPrototypes.empty())
            error(at, "no prototype was built, so the game places none of these " +
                          Diagnostics::plural(placementCount, "alien", "aliens"));
        break;
    case NumberMissing:
        missingNumber(report);
        break;
    case EntryTypeSkipped:
        warning(at, "an entry of type " + number(values[0]) + " creates nothing: only type 0 makes a prototype");
        break;
    case PictureNameTooLong:
        error(at, "the picture name is " + number(values[0]) + " characters long, more than " +
                      number(LevelFormat::MaxNameLength) + ": the game skips this prototype");
        break;
    case PrototypeRead:
        builtPrototype(report);
        break;
    case PrototypeRefused:
        // The game builds a prototype for every explosion kind it has.
        error(values[2], "explosion kind " + number(values[1]) + " does not exist, only 0 (" +
                             DataPaths::Explosions[0] + ") and 1 (" + DataPaths::Explosions[1] +
                             "): the game skips this prototype");
        break;
    case PrototypeBeyondLimit:
        if (prototypesSkipped++ == 0)
            error(at, "the game builds at most " + number(LevelFormat::MaxAlienPrototypes) +
                          " prototypes: it skips this one and every one after it");
        break;
    case PlacementKeywordMissing:
        if (report.token.empty())
            warning(at, "the file ends before \"ALIENDEF\": no alien is placed");
        else if (Diagnostics::isInteger(report.token))
            error(at, "numbers too many: the count says " +
                          Diagnostics::plural(prototypeCount, "prototype", "prototypes") + ", but " +
                          quoted(report.token) + " follows where \"ALIENDEF\" belongs: the game places no alien");
        else
            error(at, "\"ALIENDEF\" must follow the prototypes, not " + quoted(report.token) +
                          ": the game places no alien");
        break;
    case PlacementRead:
        placedAlien(report);
        break;
    case PlacementRefused:
        refusedPlacement(report);
        break;
    case PlacementBeyondLimit:
        if (placementsSkipped++ == 0)
            error(at, "the game places at most " + Diagnostics::grouped(LevelFormat::MaxAliens) +
                          " aliens: it skips this placement and every one after it");
        break;
    case TextNotRead: {
        std::string next = tokenAt(at);
        if (Diagnostics::isInteger(next))
            error(at, "numbers too many: the count says " +
                          Diagnostics::plural(placementCount, "placement", "placements") +
                          ", and the numbers from here on are not read");
        else
            warning(at, "the text from " + quoted(next) + " on is not read");
        break;
    }
    default:
        break;
    }
}

void AlienDefChecker::builtPrototype(const Report& report)
{
    const Alien* prototype = game->alienPrototypes.back();
    bool first = game->alienPrototypes.size() == 1;
    if (first)
        firstPicture = report.token;
    else
        warning(report.at, "prototype " + quoted(report.token) + " is never used: every alien is a copy of the first "
                           "prototype, " + quoted(firstPicture));
    if (level && !prototype->hasFrame()) {
        bool levels = report.token.compare(0, strlen(DataPaths::Level), DataPaths::Level) == 0;
        error(report.at, "picture " + quoted(report.token) + " cannot be loaded from " +
                             (levels ? "the level directory" : quoted(dataRoot)) + ": " +
                             (first ? "the aliens are invisible and never collide" : "this prototype has no frame") +
                             (levels ? "" : " (--data-root DIR looks in another data directory)"));
    }
}

void AlienDefChecker::placedAlien(const Report& report)
{
    if (!level)
        return;
    const Alien& alien = *game->aliens.back();
    const Tileset& main = *level->mainTileset;
    int64_t x = report.values[0];
    int64_t y = report.values[1];
    bool wakes = x > 0;
    bool inside =
        x >= 0 && y >= 0 && x + alien.frameWidth <= main.pixelWidth() && y + alien.frameHeight <= main.pixelHeight();
    bool buried = inside && alien.hitsTerrain(*level);
    misplaced += !wakes + !inside + buried;
    if (misplaced > MaxReported * 3)
        return;
    std::string where = "the alien at (" + number(x) + ", " + number(y) + ")";
    if (!wakes)
        error(report.at, where + " never wakes: an alien wakes when it scrolls in from the right, and the view starts "
                                 "at x = 0");
    if (!inside)
        error(report.at, where + ", " + Diagnostics::size(alien.frameWidth, alien.frameHeight) +
                             " pixels, is outside the " + Diagnostics::size(main.pixelWidth(), main.pixelHeight()) +
                             " pixel map");
    if (buried)
        error(report.at, where + " is inside solid terrain: it explodes as soon as the game starts");
}

void AlienDefChecker::refusedPlacement(const Report& report)
{
    // Without a prototype every placement is refused; that was said once, at the count.
    if (game->alienPrototypes.empty())
        return;
    const int64_t* values = report.values;
    bool xFits = values[0] >= LevelFormat::MinCoordinate && values[0] <= LevelFormat::MaxCoordinate;
    if (outside++ < MaxReported)
        error(values[xFits ? 3 : 2], std::string(xFits ? "y" : "x") + " = " + number(values[xFits ? 1 : 0]) +
                                         " is beyond the " + Diagnostics::grouped(LevelFormat::MinCoordinate) + " to " +
                                         Diagnostics::grouped(LevelFormat::MaxCoordinate) +
                                         " that the aliens' 16.16 fixed point holds: the game drops this alien");
}

void AlienDefChecker::missingNumber(const Report& report)
{
    int64_t at = report.at;
    int64_t entry = report.values[2] + 1;
    if (report.values[0] == Picture) {
        error(at, "the file ends where the picture of prototype " + number(entry) + " belongs");
        return;
    }
    std::string what;
    std::string tooFew;
    for (const FieldName& name : fieldNames) {
        if (name.field != report.values[0])
            continue;
        what = std::string(name.what) + (name.entry ? std::string(" ") + name.entry + " " + number(entry) : "");
        if (name.entries)
            tooFew = "the count says " + Diagnostics::plural(report.values[3], name.entry, name.entries) +
                     ", found " + number(entry - 1);
    }
    numberMissing(at, report.values[1], what, tooFew, "ALIENDEF");
}
