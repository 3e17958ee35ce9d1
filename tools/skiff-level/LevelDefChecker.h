#ifndef SKIFF_LEVEL_TOOL_LEVELDEFCHECKER_H
#define SKIFF_LEVEL_TOOL_LEVELDEFCHECKER_H

#include <cstdint>
#include <string>

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

    // Reads the text into level against the level's datafile (null when there is none). Past a number
    // the game cannot read, where it stops, the rest is still checked block by block with the game's
    // Tileset. 0 when the game loads the level, -1 when it refuses it.
    int check(const std::string& text, const DATAFILE* datafile, Level& level);
    void report(const Report& report) override;

private:
    // The header of a block as the game reported it, and where its "{" stands.
    struct Header {
        int64_t at;
        int32_t pictureIndex;
        int32_t tileSize;
        int32_t width;
        int32_t height;
    };

    void checkTitle(int64_t titleAt, int64_t length);
    void missingNumber(const Report& report);
    void missingEnd(int64_t at, const std::string& token);
    void beyondPicture(const Report& report);
    void finishBlock();
    // Tells what the game cannot show of the kept block numbered index (from 0), once it is known
    // whether it is the main tileset.
    void checkLayer(const Header& layer, int index, bool isMain);
    void strayToken(int64_t at, const std::string& token);
    void flushStray();
    std::string pictureSize(int pictureIndex) const;

    const DATAFILE* datafile;
    bool readByGame;        // false once the game has stopped reading the file
    int64_t stopAt;         // where the last number that could not be read was looked for
    Header block;           // the block being read
    Header lastKept;        // the last block the game kept, checked as a layer when the next one comes
    int keptCount;          // blocks the game kept so far
    int cutsReported;       // of the block being read
    int beyondCount;
    int64_t firstBeyondAt;
    int64_t strayCount;     // tokens read as failed block starts, not yet reported
    int64_t strayAt;
    std::string strayFirst;
    int64_t silentCount;    // stray tokens already explained by a diagnostic
    bool silentToBrace;     // the stray tokens up to the next "}" are explained
};

#endif
