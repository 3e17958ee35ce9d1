#include "AlienChecker.h"

#include <cstdint>

#include "Diagnostics.h"
#include "TokenScanner.h"

namespace {

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

bool isInteger(const std::string& token)
{
    size_t i = !token.empty() && (token[0] == '-' || token[0] == '+') ? 1 : 0;
    if (i >= token.size())
        return false;
    for (; i < token.size(); ++i) {
        if (token[i] < '0' || token[i] > '9')
            return false;
    }
    return true;
}

}

AlienChecker::AlienChecker(const std::string& name, Diagnostics* sink) : fileName(name), diagnostics(sink) {}

AlienChecker::~AlienChecker() {}

void AlienChecker::numberFailure(TokenScanner& in, const std::string& what, const std::string& tooFew)
{
    size_t at = in.lastStart;
    std::string word = in.wordAt(at);
    std::string stop = ": the game stops reading the file here";
    if (in.numberProblem == TokenScanner::EndOfFile || in.numberProblem == TokenScanner::NotGood)
        diagnostics->error(fileName, in.positionOf(at),
                           (tooFew.empty() ? "the file ends where " + what + " belongs" : "numbers too few: " + tooFew +
                                                                                          ", and the file ends") +
                               stop);
    else if (in.numberProblem == TokenScanner::OutOfRange)
        diagnostics->error(fileName, in.positionOf(at),
                           quoted(word) + " stands where " + what + " belongs and does not fit in 32 bits" + stop);
    else if (!tooFew.empty() && word == "ALIENDEF")
        diagnostics->error(fileName, in.positionOf(at), "numbers too few: " + tooFew + ", and \"ALIENDEF\" comes" + stop);
    else
        diagnostics->error(fileName, in.positionOf(at),
                           "a word where a number belongs: " + quoted(word) + " stands where " + what + " belongs" +
                               stop);
}

void AlienChecker::check(const std::string& text)
{
    prototypes.clear();
    placements.clear();
    TokenScanner in(text);
    std::string word;
    if (!in.readToken(word)) {
        diagnostics->warning(fileName, in.positionOf(in.lastStart), "the file is empty: the level has no aliens");
        return;
    }
    if (word != "ALIENPROTOS") {
        diagnostics->error(fileName, in.positionOf(in.lastStart),
                           "the file must start with \"ALIENPROTOS\", not " + quoted(word) +
                               ": the game reads no alien from it");
        return;
    }
    int32_t count = 0;
    if (!in.readNumber(count)) {
        numberFailure(in, "the prototype count", "");
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        std::string entries = "the count says " + plural(count, "prototype", "prototypes") + ", found " + number(i);
        int32_t type = 0;
        if (!in.readNumber(type)) {
            numberFailure(in, "the type of prototype " + number(i + 1), entries);
            return;
        }
        if (type != 0) {
            diagnostics->warning(fileName, in.positionOf(in.lastStart),
                                 "an entry of type " + number(type) + " creates nothing: only type 0 makes a prototype");
            continue;
        }
        std::string picture;
        if (!in.readWord(picture)) {
            diagnostics->error(fileName, in.positionOf(in.lastStart),
                               "the file ends where the picture of prototype " + number(i + 1) + " belongs");
            return;
        }
        SourcePosition pictureAt = in.positionOf(in.lastStart);
        int32_t explosionKind = 0;
        if (!in.readNumber(explosionKind)) {
            numberFailure(in, "the explosion kind of prototype " + number(i + 1), "");
            return;
        }
        SourcePosition kindAt = in.positionOf(in.lastStart);
        int32_t last = 0;
        if (!in.readNumber(last)) {
            numberFailure(in, "the last number of prototype " + number(i + 1), "");
            return;
        }
        if (picture.size() > MaxPictureName) {
            diagnostics->error(fileName, pictureAt,
                               "the picture name is " + number(static_cast<int64_t>(picture.size())) +
                                   " characters long, more than 127: the game skips this prototype");
        } else if (explosionKind != 0 && explosionKind != 1) {
            diagnostics->error(fileName, kindAt,
                               "explosion kind " + number(explosionKind) +
                                   " does not exist, only 0 (bmp/boom.bmp) and 1 (bmp/boom2.bmp): the game skips "
                                   "this prototype");
        } else {
            prototypes.push_back(CheckedPrototype{picture, explosionKind, pictureAt});
        }
    }
    for (size_t k = 1; k < prototypes.size(); ++k)
        diagnostics->warning(fileName, prototypes[k].at,
                             "prototype " + quoted(prototypes[k].picture) + " is never used: every alien is a copy "
                             "of the first prototype, " + quoted(prototypes[0].picture));

    if (!in.readToken(word)) {
        diagnostics->warning(fileName, in.positionOf(in.lastStart),
                             "the file ends before \"ALIENDEF\": no alien is placed");
        return;
    }
    SourcePosition sectionAt = in.positionOf(in.lastStart);
    if (word != "ALIENDEF") {
        if (isInteger(word))
            diagnostics->error(fileName, sectionAt,
                               "numbers too many: the count says " + plural(count, "prototype", "prototypes") +
                                   ", but " + quoted(word) + " follows where \"ALIENDEF\" belongs: the game places "
                                   "no alien");
        else
            diagnostics->error(fileName, sectionAt,
                               "\"ALIENDEF\" must follow the prototypes, not " + quoted(word) +
                                   ": the game places no alien");
        return;
    }
    int32_t placementCount = 0;
    if (!in.readNumber(placementCount)) {
        numberFailure(in, "the placement count", "");
        return;
    }
    SourcePosition countAt = in.positionOf(in.lastStart);
    if (placementCount > 0 && prototypes.empty())
        diagnostics->error(fileName, countAt,
                           "no prototype was built, so the game places none of these " +
                               plural(placementCount, "alien", "aliens"));
    int outside = 0;
    for (int32_t i = 0; i < placementCount; ++i) {
        std::string entries = "the count says " + plural(placementCount, "placement", "placements") + ", found " +
                              number(i);
        int32_t values[3];
        size_t at[3];
        static const char* const names[3] = {"the first number", "x", "y"};
        for (int k = 0; k < 3; ++k) {
            if (!in.readNumber(values[k])) {
                numberFailure(in, std::string(names[k]) + " of placement " + number(i + 1), k == 0 ? entries : "");
                return;
            }
            at[k] = in.lastStart;
        }
        if (prototypes.empty())
            continue;
        bool xFits = values[1] >= MinCoordinate && values[1] <= MaxCoordinate;
        bool yFits = values[2] >= MinCoordinate && values[2] <= MaxCoordinate;
        if (!xFits || !yFits) {
            if (outside++ < MaxReported)
                diagnostics->error(fileName, in.positionOf(at[xFits ? 2 : 1]),
                                   std::string(xFits ? "y" : "x") + " = " + number(values[xFits ? 2 : 1]) +
                                       " is beyond the -32,768 to 32,767 that the aliens' 16.16 fixed point holds: "
                                       "the game drops this alien");
            continue;
        }
        placements.push_back(CheckedPlacement{values[1], values[2], in.positionOf(at[0])});
    }
    in.skipWhiteSpace();
    if (in.good() && in.peek() != -1) {
        size_t at = in.offset;
        std::string next = in.wordAt(at);
        if (isInteger(next))
            diagnostics->error(fileName, in.positionOf(at),
                               "numbers too many: the count says " + plural(placementCount, "placement", "placements") +
                                   ", and the numbers from here on are not read");
        else
            diagnostics->warning(fileName, in.positionOf(at), "the text from " + quoted(next) + " on is not read");
    }
}
