#include "LevelChecker.h"

#include <allegro.h>

#include "Diagnostics.h"
#include "TokenScanner.h"
#include "level/Tileset.h"

namespace {

const int EndOfText = -1;

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string number(int64_t value)
{
    return std::to_string(value);
}

std::string plural(int64_t count, const std::string& one, const std::string& many)
{
    return number(count) + " " + (count == 1 ? one : many);
}

bool sameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (tolower(static_cast<unsigned char>(a[i])) != tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string caseHint(const std::string& found, const std::string& keyword)
{
    return sameIgnoringCase(found, keyword) ? " (keywords are case-sensitive)" : "";
}

bool isInteger(const std::string& token)
{
    size_t i = token[0] == '-' || token[0] == '+' ? 1 : 0;
    if (i >= token.size())
        return false;
    for (; i < token.size(); ++i) {
        if (token[i] < '0' || token[i] > '9')
            return false;
    }
    return true;
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

int countObjects(const DATAFILE* datafile)
{
    int count = 0;
    while (datafile[count].type != DAT_END)
        ++count;
    return count;
}

}

LevelChecker::LevelChecker(const std::string& name, Diagnostics* sink)
    : fileName(name), diagnostics(sink), readByGame(true), strayCount(0), strayAt(0), silentCount(0),
      silentToBrace(false)
{
}

LevelChecker::~LevelChecker() {}

void LevelChecker::error(const TokenScanner& in, size_t at, const std::string& text)
{
    diagnostics->error(fileName, in.positionOf(at), text);
}

void LevelChecker::warning(const TokenScanner& in, size_t at, const std::string& text)
{
    diagnostics->warning(fileName, in.positionOf(at), text);
}

void LevelChecker::note(const TokenScanner& in, size_t at, const std::string& text)
{
    diagnostics->note(fileName, in.positionOf(at), text);
}

int LevelChecker::check(const std::string& text, const DATAFILE* datafile)
{
    title.clear();
    blocks.clear();
    unreadBlocks.clear();
    readByGame = true;
    strayCount = 0;
    silentCount = 0;
    silentToBrace = false;
    TokenScanner in(text);
    std::string token;
    if (!in.readToken(token)) {
        error(in, in.lastStart, "the file is empty: it must start with \"LEVELDEF\"");
        return -1;
    }
    size_t keywordAt = in.lastStart;
    if (token != "LEVELDEF") {
        error(in, keywordAt, "the file must start with \"LEVELDEF\", not " + quoted(token) + caseHint(token, "LEVELDEF") +
                                 ": the game refuses the level");
        return -1;
    }
    in.skipWhiteSpace();
    size_t titleAt = in.offset;
    in.readLine(title);
    checkTitle(in, keywordAt, titleAt);
    in.skipWhiteSpace();

    for (;;) {
        while (in.good() && in.peek() != EndOfText) {
            readBlock(in, datafile);
            in.skipWhiteSpace();
        }
        flushStray(in);
        if (!in.hasFailed())
            break;
        // The game reads nothing more; the rest is still checked, from the next block on.
        readByGame = false;
        size_t next = in.skipFrom(in.lastStart);
        while (next < text.size() && in.wordAt(next) != "{")
            next = in.skipFrom(next + in.wordAt(next).size());
        if (next >= text.size())
            break;
        in.restartAt(next);
    }

    if (blocks.empty()) {
        error(in, keywordAt, "no tileset block reads correctly: the game refuses the level");
        return -1;
    }
    checkLayers();
    return 0;
}

void LevelChecker::checkTitle(TokenScanner& in, size_t keywordAt, size_t titleAt)
{
    size_t lineEnd = in.text.find('\n', titleAt);
    size_t length = (lineEnd == std::string::npos ? in.text.size() : lineEnd) - titleAt;
    if (length > 0 && in.text[titleAt + length - 1] == '\r')
        --length;
    if (length > 127)
        warning(in, titleAt, "the title is " + number(length) + " characters long: the game keeps the first 127");
    std::string firstWord = in.wordAt(titleAt);
    if (firstWord != "{")
        return;
    bool ownLine = in.positionOf(titleAt).line != in.positionOf(keywordAt).line;
    error(in, titleAt,
          std::string(ownLine ? "\"LEVELDEF\" has no title on its line, so this line is taken as the title"
                              : "this block stands on the title's line and is read as the title") +
              ": the block it starts is lost");
    size_t next = in.skipFrom(in.offset);
    int skipped = 0;
    while (next < in.text.size() && in.wordAt(next) != "{") {
        ++skipped;
        next = in.skipFrom(next + in.wordAt(next).size());
    }
    if (skipped > 0)
        note(in, in.skipFrom(in.offset), "the rest of that block, " + plural(skipped, "token", "tokens") +
                                            ", is skipped up to the next \"{\"");
    silentToBrace = true;
}

void LevelChecker::readBlock(TokenScanner& in, const DATAFILE* datafile)
{
    std::string token;
    bool read = in.readToken(token);
    size_t openAt = in.lastStart;
    if (!read || token != "{") {
        strayToken(openAt, token);
        return;
    }
    flushStray(in);

    CheckedBlock block = CheckedBlock();
    block.start = in.positionOf(openAt);
    read = in.readToken(token);
    if (!read || token != "tileset") {
        if (!read)
            error(in, in.lastStart, "the file ends after \"{\": \"tileset\" is missing");
        else if (token == "{")
            error(in, in.lastStart,
                  "\"tileset\" must follow \"{\", not another \"{\": this block is dropped, and the block that "
                  "second \"{\" opens is lost with it");
        else
            error(in, in.lastStart,
                  "\"tileset\" must follow \"{\", not " + quoted(token) + caseHint(token, "tileset") +
                      ": the block is dropped");
        silentToBrace = true;
        return;
    }

    static const char* const names[4] = {"the picture index", "the tile size", "the width", "the height"};
    int32_t header[4];
    size_t headerAt[4];
    for (int i = 0; i < 4; ++i) {
        if (!in.readNumber(header[i])) {
            numberFailure(in, names[i], "the block header needs 4 numbers after \"tileset\"", i);
            return;
        }
        headerAt[i] = in.lastStart;
    }
    block.pictureIndex = header[0];
    block.tileSize = header[1];
    block.width = header[2];
    block.height = header[3];

    const char* refusal = nullptr;
    size_t refusalAt = 0;
    if (block.tileSize < 1) {
        refusal = "the tile size must be at least 1";
        refusalAt = headerAt[1];
    } else if (block.width < 0) {
        refusal = "the width must not be negative";
        refusalAt = headerAt[2];
    } else if (block.height < 0) {
        refusal = "the height must not be negative";
        refusalAt = headerAt[3];
    } else if (static_cast<int64_t>(block.width) * block.height > Tileset::MaxCells) {
        refusal = "the grid has more cells than the game accepts (16,777,216)";
        refusalAt = headerAt[2];
    } else if (static_cast<int64_t>(block.width) * block.tileSize > Tileset::MaxExtent ||
               static_cast<int64_t>(block.height) * block.tileSize > Tileset::MaxExtent) {
        refusal = "the grid is larger than the game accepts (16,777,216 pixels a side)";
        refusalAt = headerAt[2];
    }
    if (refusal) {
        error(in, refusalAt,
              std::string(refusal) + ": the block is dropped before its grid, whose numbers the game then skips");
        silentToBrace = true;
        return;
    }

    int64_t cellCount = static_cast<int64_t>(block.width) * block.height;
    std::string gridSize = number(block.width) + " x " + number(block.height);
    block.cells.reserve(static_cast<size_t>(cellCount));
    std::vector<size_t> cellAt;
    cellAt.reserve(static_cast<size_t>(cellCount));
    int cutsReported = 0;
    for (int32_t r = 0; r < block.height; ++r) {
        for (int32_t c = 0; c < block.width; ++c) {
            int32_t value;
            if (!in.readNumber(value)) {
                numberFailure(in, "the tile number of column " + number(c) + ", row " + number(r),
                              "the grid of " + gridSize + " cells needs " + number(cellCount) + " numbers",
                              static_cast<int64_t>(block.cells.size()));
                return;
            }
            if ((value & 0xff) != value && cutsReported++ < MaxReported)
                warning(in, in.lastStart,
                        "tile number " + number(value) + " is read as " + number(value & 0xff) +
                            ": only its low 8 bits count");
            cellAt.push_back(in.lastStart);
            block.cells.push_back(static_cast<uint8_t>(value & 0xff));
        }
    }

    read = in.readToken(token);
    size_t closeAt = in.lastStart;
    if (!read) {
        error(in, closeAt, "\"}\" is missing: the file ends after the grid of the block at line " +
                               number(block.start.line) + ", which is dropped");
        return;
    }
    if (token != "}") {
        if (isInteger(token)) {
            int64_t extra = 0;
            size_t next = closeAt;
            while (next < in.text.size() && isInteger(in.wordAt(next))) {
                ++extra;
                next = in.skipFrom(next + in.wordAt(next).size());
            }
            bool closed = in.wordAt(next) == "}";
            error(in, closeAt,
                  "numbers too many: the grid of " + gridSize + " cells takes " + number(cellCount) + " numbers, and " +
                      plural(extra, "more follows", "more follow") + (closed ? " before \"}\"" : "") +
                      ": the block is dropped");
            silentCount = static_cast<size_t>(extra - 1) + (closed ? 1 : 0);
        } else if (token == "{") {
            error(in, closeAt,
                  "\"}\" is missing after the grid: the \"{\" of the next block is read in its place, so that block "
                  "is lost too");
            silentToBrace = true;
        } else {
            error(in, closeAt,
                  "\"}\" must close the block after its " + number(cellCount) + " grid numbers, not " + quoted(token) +
                      ": the block is dropped");
            silentToBrace = true;
        }
        return;
    }

    if (!checkPicture(in, block, datafile, headerAt[0], headerAt[1], cellAt))
        return;
    if (readByGame)
        blocks.push_back(block);
    else
        unreadBlocks.push_back(block);
}

bool LevelChecker::checkPicture(TokenScanner& in, CheckedBlock& block, const DATAFILE* datafile,
                                size_t pictureIndexAt, size_t tileSizeAt, const std::vector<size_t>& cellAt)
{
    std::string index = number(block.pictureIndex);
    if (!datafile) {
        error(in, pictureIndexAt, "picture " + index + " cannot be cut: there is no level.dat to cut it from");
        return false;
    }
    int objects = countObjects(datafile);
    if (block.pictureIndex < 0 || block.pictureIndex >= objects) {
        error(in, pictureIndexAt,
              "picture index " + index + " is beyond level.dat, which holds " + plural(objects, "object", "objects") +
                  (objects > 0 ? " (0 to " + number(objects - 1) + ")" : "") + ": the block is dropped");
        return false;
    }
    const DATAFILE& object = datafile[block.pictureIndex];
    if (object.type != DAT_BITMAP || !object.dat) {
        error(in, pictureIndexAt,
              "picture index " + index + " names a " + quoted(typeName(object.type)) +
                  " object of level.dat, not a bitmap: the block is dropped");
        return false;
    }
    const BITMAP* picture = static_cast<const BITMAP*>(object.dat);
    int columns = picture->w / block.tileSize;
    int rows = picture->h / block.tileSize;
    block.pictureWidth = picture->w;
    block.pictureHeight = picture->h;
    block.tileCount = columns * rows;
    std::string pictureSize = number(picture->w) + " x " + number(picture->h) + " pixels";
    if (picture->w % block.tileSize != 0 || picture->h % block.tileSize != 0)
        warning(in, tileSizeAt,
                "picture " + index + " is " + pictureSize + ", not a multiple of the tile size " +
                    number(block.tileSize) + ": its last " + number(picture->w % block.tileSize) +
                    " pixel columns and " + number(picture->h % block.tileSize) + " pixel rows are not used");

    int beyond = 0;
    for (size_t i = 0; i < block.cells.size(); ++i) {
        if (block.cells[i] < block.tileCount)
            continue;
        if (beyond++ < MaxReported)
            error(in, cellAt[i],
                  "tile " + number(block.cells[i]) + " is beyond the " + plural(block.tileCount, "tile", "tiles") +
                      " that picture " + index + " (" + pictureSize + ") yields in " + number(block.tileSize) +
                      "-pixel tiles: the block is dropped");
    }
    if (beyond > MaxReported)
        note(in, cellAt[0], number(beyond - MaxReported) + " more cells of this block show tiles beyond the picture");
    return beyond == 0;
}

void LevelChecker::numberFailure(TokenScanner& in, const std::string& what, const std::string& needs, int64_t found)
{
    size_t at = in.lastStart;
    std::string word = in.wordAt(at);
    switch (in.numberProblem) {
    case TokenScanner::EndOfFile:
    case TokenScanner::NotGood:
        error(in, at, "numbers too few: " + needs + ", and the file ends after " + number(found) +
                          ": the block is dropped");
        break;
    case TokenScanner::OutOfRange:
        error(in, at, quoted(word) + " stands where " + what + " belongs and does not fit in 32 bits: the game "
                                     "stops reading the file here");
        break;
    default:
        if (word == "}")
            error(in, at, "numbers too few: " + needs + ", and \"}\" comes after " + number(found) +
                              ": the game stops reading the file here");
        else
            error(in, at, "a word where a number belongs: " + quoted(word) + " stands where " + what +
                              " belongs: the game stops reading the file here");
        break;
    }
    int lost = blockStartsFrom(in, at);
    if (lost > 0 && readByGame)
        note(in, at, "so the " + plural(lost, "block", "blocks") + " after it " + (lost == 1 ? "is" : "are") +
                         " lost too (checked below as if the game read on)");
}

int LevelChecker::blockStartsFrom(const TokenScanner& in, size_t at) const
{
    int count = 0;
    size_t next = in.skipFrom(at);
    while (next < in.text.size()) {
        std::string word = in.wordAt(next);
        count += word == "{";
        next = in.skipFrom(next + word.size());
    }
    return count;
}

void LevelChecker::strayToken(size_t at, const std::string& token)
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

void LevelChecker::flushStray(TokenScanner& in)
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
    error(in, strayAt, text);
    strayCount = 0;
}

void LevelChecker::checkLayers()
{
    const CheckedBlock& main = blocks.back();
    for (size_t i = 0; i < blocks.size(); ++i) {
        const CheckedBlock& block = blocks[i];
        bool isMain = i + 1 == blocks.size();
        if (block.pixelWidth() >= ScreenWidth && block.pixelHeight() >= ScreenHeight)
            continue;
        std::string size = number(block.pixelWidth()) + " x " + number(block.pixelHeight()) + " pixels";
        if (isMain)
            diagnostics->error(fileName, block.start,
                               "the main tileset is " + size + ", smaller than the 320 x 240 screen: the level "
                               "does not fill the screen and cannot scroll that way");
        else
            diagnostics->error(fileName, block.start,
                               "layer " + number(static_cast<int64_t>(i)) + " is " + size +
                                   ", smaller than the 320 x 240 screen: its parallax factor is negative and it "
                                   "scrolls off the wrong way");
    }
    if (main.pixelWidth() > MaxCoordinate || main.pixelHeight() > MaxCoordinate)
        diagnostics->error(fileName, main.start,
                           "the main tileset is " + number(main.pixelWidth()) + " x " + number(main.pixelHeight()) +
                               " pixels: the aliens' 16.16 fixed point holds positions up to 32,767 pixels");
}
