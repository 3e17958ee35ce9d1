#ifndef SKIFF_LEVEL_TOOL_LEVELCHECKER_H
#define SKIFF_LEVEL_TOOL_LEVELCHECKER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "CheckedBlock.h"
#include "SourcePosition.h"

class Diagnostics;
class TokenScanner;
struct DATAFILE;

// Reads a level.def the way Level::readDescription and Tileset::read do and
// reports, with positions, every block the game drops and why, and what else
// about the level the game does not handle.
class LevelChecker {
public:
    enum { ScreenWidth = 320, ScreenHeight = 240, MaxCoordinate = 32767, MaxReported = 10 };

    // fileName is the name used in the diagnostics.
    LevelChecker(const std::string& fileName, Diagnostics* diagnostics);
    virtual ~LevelChecker();

    // Checks the text against the level's datafile (null when there is none). Fills title and
    // blocks with what the game keeps. 0 when the game loads the level, -1 when it refuses it.
    int check(const std::string& text, const DATAFILE* datafile);

    std::string title;
    std::vector<CheckedBlock> blocks;       // kept by the game, in file order
    std::vector<CheckedBlock> unreadBlocks;  // correct blocks after the point where the game stops reading

private:
    void readBlock(TokenScanner& in, const DATAFILE* datafile);
    bool checkPicture(TokenScanner& in, CheckedBlock& block, const DATAFILE* datafile, size_t pictureIndexAt,
                      size_t tileSizeAt, const std::vector<size_t>& cellAt);
    void checkTitle(TokenScanner& in, size_t keywordAt, size_t titleAt);
    void checkLayers();
    // Reports a number that could not be read: what belongs there, and how many of the numbers needed came.
    void numberFailure(TokenScanner& in, const std::string& what, const std::string& needs, int64_t found);
    void strayToken(size_t at, const std::string& token);
    void flushStray(TokenScanner& in);
    int blockStartsFrom(const TokenScanner& in, size_t at) const;
    void error(const TokenScanner& in, size_t at, const std::string& text);
    void warning(const TokenScanner& in, size_t at, const std::string& text);
    void note(const TokenScanner& in, size_t at, const std::string& text);

    std::string fileName;
    Diagnostics* diagnostics;
    bool readByGame;        // false once the game has stopped reading the file
    size_t strayCount;      // tokens read as failed block starts, not yet reported
    size_t strayAt;
    std::string strayFirst;
    size_t silentCount;     // stray tokens already explained by a diagnostic
    bool silentToBrace;     // the stray tokens up to the next "}" are explained
};

#endif
