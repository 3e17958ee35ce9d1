#include "LevelDefChecker.h"

#include <allegro.h>
#include <strings.h>

#include <sstream>

#include "Diagnostics.h"
#include "core/TextReader.h"
#include "level/Level.h"
#include "level/LevelFormat.h"
#include "level/Tileset.h"
#include "render/Screen.h"

namespace {

std::string caseHint(const std::string& found, const std::string& keyword)
{
    bool same = found.size() == keyword.size() && strcasecmp(found.c_str(), keyword.c_str()) == 0;
    return same ? " (keywords are case-sensitive)" : "";
}

std::string typeName(int type)
{
    std::string name;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>((type >> shift) & 0xff);
        name.push_back(c >= ' ' && c < 127 ? c : '?');
    }
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

}

LevelDefChecker::LevelDefChecker(const std::string& name, Diagnostics* sink)
    : TextChecker(name, sink), datafile(nullptr), readByGame(true), stopAt(0), block(), lastKept(), keptCount(0),
      cutsReported(0), beyondCount(0), firstBeyondAt(0), strayCount(0), strayAt(0), silentCount(0), silentToBrace(false)
{
}

LevelDefChecker::~LevelDefChecker() {}

int LevelDefChecker::check(const std::string& text, const DATAFILE* pictures, Level& level)
{
    start(text);
    datafile = pictures;
    readByGame = true;
    keptCount = 0;
    strayCount = 0;
    silentCount = 0;
    silentToBrace = false;
    beyondCount = 0;

    std::istringstream in(text);
    int result = level.readDescription(in, datafile, this);
    finishBlock();
    flushStray();
    if (result == 0)
        checkLayer(lastKept, keptCount - 1, true);

    // Only a number the game cannot read fails the stream; the blocks after it are read on as if
    // the game went on, from the next "{".
    readByGame = false;
    while (in.fail()) {
        int64_t next = tokenFrom(stopAt);
        while (next < textSize && tokenAt(next) != "{")
            next = tokenAfter(next);
        if (next >= textSize)
            break;
        in.clear();
        in.seekg(static_cast<std::streamoff>(next));
        while (in.good() && in.peek() != std::char_traits<char>::eof()) {
            Tileset tileset(nullptr);
            tileset.read(in, datafile, this);
            finishBlock();
            TextReader::skipWhiteSpace(in);
        }
        flushStray();
    }
    return result;
}

void LevelDefChecker::report(const Report& report)
{
    if (report.kind != TileBeyondPicture)
        finishBlock();
    int64_t at = report.at;
    const int64_t* values = report.values;
    switch (report.kind) {
    case BlockStartMissing:
        strayToken(at, report.token);
        break;
    case BlockOpened:
        flushStray();
        block = Header{at, 0, 0, 0, 0};
        cutsReported = 0;
        break;
    case TitleRead:
        checkTitle(at, values[0]);
        break;
    case LevelKeywordMissing:
        if (report.token.empty())
            error(at, "the file is empty: it must start with \"LEVELDEF\"");
        else
            error(at, "the file must start with \"LEVELDEF\", not " + quoted(report.token) +
                          caseHint(report.token, "LEVELDEF") + ": the game refuses the level");
        break;
    case NoTilesetRead:
        error(at, "no tileset block reads correctly: the game refuses the level");
        break;
    case TilesTooLarge:
        error(at, "with this block the tile pictures come to " + Diagnostics::grouped(values[0]) +
                      " pixels, more than the game's " + Diagnostics::grouped(values[1]) +
                      " (every block cuts its own, up to 256 tiles of its picture): the game refuses the level");
        break;
    case BlockKeywordMissing:
        if (report.token.empty())
            error(at, "the file ends after \"{\": \"tileset\" is missing");
        else if (report.token == "{")
            error(at, "\"tileset\" must follow \"{\", not another \"{\": this block is dropped, and the block that "
                      "second \"{\" opens is lost with it");
        else
            error(at, "\"tileset\" must follow \"{\", not " + quoted(report.token) + caseHint(report.token, "tileset") +
                          ": the block is dropped");
        silentToBrace = true;
        break;
    case HeaderRead:
        block.pictureIndex = static_cast<int32_t>(values[0]);
        block.tileSize = static_cast<int32_t>(values[1]);
        block.width = static_cast<int32_t>(values[2]);
        block.height = static_cast<int32_t>(values[3]);
        break;
    case TileSizeTooSmall:
    case WidthNegative:
    case HeightNegative:
    case TooManyCells:
    case TooLarge: {
        static const char* const refusals[] = {
            "the tile size must be at least 1", "the width must not be negative", "the height must not be negative",
            "the grid has more cells than the game accepts (",
            "the grid is larger than the game accepts ("};
        std::string limit = report.kind == TooManyCells ? Diagnostics::grouped(LevelFormat::MaxCells) + ")"
                            : report.kind == TooLarge ? Diagnostics::grouped(LevelFormat::MaxExtent) + " pixels a side)"
                                                      : "";
        error(at, refusals[report.kind - TileSizeTooSmall] + limit +
                      ": the block is dropped before its grid, whose numbers the game then skips");
        silentToBrace = true;
        break;
    }
    case NumberMissing:
        missingNumber(report);
        break;
    case TileNumberCut:
        if (cutsReported++ < MaxReported)
            warning(at, "tile number " + number(values[0]) + " is read as " + number(values[0] & 0xff) +
                            ": only its low 8 bits count");
        break;
    case BlockEndMissing:
        missingEnd(at, report.token);
        break;
    case NoDatafile:
        error(at, "picture " + number(block.pictureIndex) + " cannot be cut: there is no level.dat to cut it from");
        break;
    case PictureIndexBeyond:
        error(at, "picture index " + number(values[0]) + " is beyond level.dat, which holds " +
                      Diagnostics::plural(values[1], "object", "objects") +
                      (values[1] > 0 ? " (0 to " + number(values[1] - 1) + ")" : "") + ": the block is dropped");
        break;
    case PictureNotBitmap:
        error(at, "picture index " + number(values[0]) + " names a " + quoted(typeName(static_cast<int>(values[1]))) +
                      " object of level.dat, not a bitmap: the block is dropped");
        break;
    case PictureNotWhole:
        warning(at, "picture " + number(values[0]) + " is " + pictureSize(block.pictureIndex) +
                        ", not a multiple of the tile size " + number(block.tileSize) + ": its last " +
                        number(values[1] % block.tileSize) + " pixel columns and " +
                        number(values[2] % block.tileSize) + " pixel rows are not used");
        break;
    case TileBeyondPicture:
        beyondPicture(report);
        break;
    case OutOfMemory:
        error(at, "the tile pictures of this block cannot be made: out of memory, the block is dropped");
        break;
    case TilesetRead:
        if (!readByGame)
            break;
        if (keptCount > 0)
            checkLayer(lastKept, keptCount - 1, false);
        ++keptCount;
        lastKept = block;
        break;
    default:
        break;
    }
}

void LevelDefChecker::checkTitle(int64_t titleAt, int64_t length)
{
    if (length > LevelFormat::MaxNameLength)
        warning(titleAt, "the title is " + number(length) + " characters long: the game keeps the first " +
                             number(LevelFormat::MaxNameLength));
    if (tokenAt(titleAt) != "{")
        return;
    bool ownLine = positionOf(titleAt).line != positionOf(tokenFrom(0)).line;
    error(titleAt, std::string(ownLine ? "\"LEVELDEF\" has no title on its line, so this line is taken as the title"
                                       : "this block stands on the title's line and is read as the title") +
                       ": the block it starts is lost");
    // The title takes the rest of its line; the block's other tokens are then read one by one as failed block starts.
    int64_t rest = tokenFrom(nextLine(titleAt));
    int64_t next = rest;
    int skipped = 0;
    while (next < textSize && tokenAt(next) != "{") {
        ++skipped;
        next = tokenAfter(next);
    }
    if (skipped > 0)
        note(rest, "the rest of that block, " + Diagnostics::plural(skipped, "token", "tokens") +
                       ", is skipped up to the next \"{\"");
    silentToBrace = true;
}

void LevelDefChecker::missingNumber(const Report& report)
{
    static const char* const headerNames[] = {"the picture index", "the tile size", "the width", "the height"};
    int64_t field = report.values[0];
    std::string what = field < Cell ? headerNames[field] : "";
    std::string tooFew = "the block header needs 4 numbers after \"tileset\", found " + number(field);
    if (field == Cell) {
        int64_t cell = report.values[2];
        what = "the tile number of column " + number(cell % block.width) + ", row " + number(cell / block.width);
        tooFew = "the grid of " + Diagnostics::size(block.width, block.height) + " cells needs " +
                 number(static_cast<int64_t>(block.width) * block.height) + " numbers, found " + number(cell);
    }
    int64_t at = report.at;
    stopAt = at;
    numberMissing(at, report.values[1], what, tooFew, "}");
    // The game reads no more of the file: every block from here on is lost.
    int64_t lost = 0;
    for (int64_t next = readByGame ? tokenFrom(at) : textSize; next < textSize; next = tokenAfter(next))
        lost += tokenAt(next) == "{";
    if (lost > 0)
        note(at, "so the " + Diagnostics::plural(lost, "block", "blocks") + " after it " + (lost == 1 ? "is" : "are") +
                     " lost too (checked below as if the game read on)");
}

void LevelDefChecker::missingEnd(int64_t at, const std::string& token)
{
    int64_t cellCount = static_cast<int64_t>(block.width) * block.height;
    std::string gridSize = Diagnostics::size(block.width, block.height);
    if (token.empty()) {
        error(at, "\"}\" is missing: the file ends after the grid of the block at line " +
                      number(positionOf(block.at).line) + ", which is dropped");
    } else if (Diagnostics::isInteger(token)) {
        int64_t extra = 0;
        int64_t next = at;
        while (next < textSize && Diagnostics::isInteger(tokenAt(next))) {
            ++extra;
            next = tokenAfter(next);
        }
        bool closed = tokenAt(next) == "}";
        error(at, "numbers too many: the grid of " + gridSize + " cells takes " + number(cellCount) + " numbers, and " +
                      Diagnostics::plural(extra, "more follows", "more follow") + (closed ? " before \"}\"" : "") +
                      ": the block is dropped");
        silentCount = extra - 1 + (closed ? 1 : 0);
    } else if (token == "{") {
        error(at, "\"}\" is missing after the grid: the \"{\" of the next block is read in its place, so that block "
                  "is lost too");
        silentToBrace = true;
    } else {
        error(at, "\"}\" must close the block after its " + number(cellCount) + " grid numbers, not " + quoted(token) +
                      ": the block is dropped");
        silentToBrace = true;
    }
}

void LevelDefChecker::beyondPicture(const Report& report)
{
    if (beyondCount++ == 0)
        firstBeyondAt = report.at;
    if (beyondCount <= MaxReported)
        error(report.at, "tile " + number(report.values[0]) + " is beyond the " +
                             Diagnostics::plural(report.values[1], "tile", "tiles") + " that picture " +
                             number(block.pictureIndex) + " (" + pictureSize(block.pictureIndex) + ") yields in " +
                             number(block.tileSize) + "-pixel tiles: the block is dropped");
}

void LevelDefChecker::finishBlock()
{
    if (beyondCount > MaxReported)
        note(firstBeyondAt,
             number(beyondCount - MaxReported) + " more cells of this block show tiles beyond the picture");
    beyondCount = 0;
}

std::string LevelDefChecker::pictureSize(int pictureIndex) const
{
    const BITMAP* picture = static_cast<const BITMAP*>(datafile[pictureIndex].dat);
    return Diagnostics::size(picture->w, picture->h) + " pixels";
}

void LevelDefChecker::strayToken(int64_t at, const std::string& token)
{
    if (silentCount > 0) {
        --silentCount;
        return;
    }
    // A dropped block's own tokens are explained by its error, up to its "}"; a token that looks
    // like the start of another block is a problem of its own.
    if (silentToBrace && !token.empty() && token[0] != '{') {
        if (token == "}")
            silentToBrace = false;
        return;
    }
    silentToBrace = false;
    if (strayCount == 0) {
        strayAt = at;
        strayFirst = token;
    }
    ++strayCount;
}

void LevelDefChecker::flushStray()
{
    silentToBrace = false;
    silentCount = 0;
    if (strayCount == 0)
        return;
    std::string text = strayCount == 1 ? quoted(strayFirst) + " stands outside any block and is skipped"
                                       : number(static_cast<int64_t>(strayCount)) + " tokens from " +
                                             quoted(strayFirst) + " on stand outside any block and are skipped";
    if (strayFirst.size() > 1 && strayFirst[0] == '{')
        text += ": the brace must stand apart, " + quoted(strayFirst) + " is one token";
    else if (strayFirst == "}")
        text += ": this \"}\" closes no block";
    else
        text += ": a block starts with \"{\"";
    error(strayAt, text);
    strayCount = 0;
}

void LevelDefChecker::checkLayer(const Header& layer, int index, bool isMain)
{
    int64_t width = static_cast<int64_t>(layer.width) * layer.tileSize;
    int64_t height = static_cast<int64_t>(layer.height) * layer.tileSize;
    if (width < ScreenWidth || height < ScreenHeight) {
        std::string size = Diagnostics::size(width, height) + " pixels, smaller than the " +
                           Diagnostics::size(ScreenWidth, ScreenHeight) + " screen";
        if (isMain)
            error(layer.at,
                  "the main tileset is " + size + ": the level does not fill the screen and cannot scroll that way");
        else
            error(layer.at, "layer " + number(index) + " is " + size +
                                ": its parallax factor is negative and it scrolls off the wrong way");
    }
    if (isMain && (width > LevelFormat::MaxCoordinate || height > LevelFormat::MaxCoordinate))
        error(layer.at, "the main tileset is " + Diagnostics::size(width, height) +
                            " pixels: the aliens' 16.16 " + "fixed point holds positions up to " +
                            Diagnostics::grouped(LevelFormat::MaxCoordinate) + " pixels");
}
