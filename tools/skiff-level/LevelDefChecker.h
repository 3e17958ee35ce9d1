#ifndef SKIFF_LEVEL_TOOL_LEVELDEFCHECKER_H
#define SKIFF_LEVEL_TOOL_LEVELDEFCHECKER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "CheckedBlock.h"
#include "TextChecker.h"

class Level;
struct DATAFILE;

// Reads a level.def with the game's own Level, as its diagnostics sink, and turns what the
// game reports into compiler-style diagnostics: every block the game drops and why, and
// what else about the level the game does not handle.
class LevelDefChecker : public TextChecker {
public:
    LevelDefChecker(const std::string& fileName, Diagnostics* diagnostics);
    virtual ~LevelDefChecker();

    // Reads the text into level against the level's datafile (null when there is none) and fills
    // title and blocks. Past a number the game cannot read, where it stops, the rest is still checked
    // block by block. 0 when the game loads the level, -1 when it refuses it.
    int check(const std::string& text, const DATAFILE* datafile, Level& level);
    void report(const Report& report) override;

    std::string title;
    std::vector<CheckedBlock> blocks;       // kept by the game, in file order
    std::vector<CheckedBlock> unreadBlocks;  // correct blocks after the point where the game stops reading

private:
    void checkTitle(int64_t titleAt, int64_t length);
    void missingNumber(const Report& report);
    void missingEnd(int64_t at, const std::string& token);
    void beyondPicture(const Report& report);
    void finishBlock();
    void checkLayers();
    void strayToken(int64_t at, const std::string& token);
    void flushStray();
    int blockStartsFrom(size_t at) const;
    std::string pictureSize(int pictureIndex) const;

    const DATAFILE* datafile;
    bool readByGame;        // false once the game has stopped reading the file
    int64_t stopAt;         // where the last number that could not be read was looked for
    CheckedBlock block;     // the block being read
    int cutsReported;       // of the block being read
    int beyondCount;
    int64_t firstBeyondAt;
    size_t strayCount;      // tokens read as failed block starts, not yet reported
    int64_t strayAt;
    std::string strayFirst;
    size_t silentCount;     // stray tokens already explained by a diagnostic
    bool silentToBrace;     // the stray tokens up to the next "}" are explained
};

#endif
