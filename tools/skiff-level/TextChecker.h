#ifndef SKIFF_LEVEL_TOOL_TEXTCHECKER_H
#define SKIFF_LEVEL_TOOL_TEXTCHECKER_H

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "core/ReadDiagnostics.h"

// A diagnostics sink for one of the game's text files: what the game's reader reports becomes
// diagnostics for that file, its byte offsets made lines and columns. Where a diagnostic looks at
// the tokens around a report, it reads them with the game's own TextReader.
class TextChecker : public ReadDiagnostics {
public:
    // Problems of one kind listed one by one before they are only counted.
    enum { MaxReported = 10 };

    // fileName is the name used in the diagnostics.
    TextChecker(const std::string& fileName, Diagnostics* diagnostics);
    virtual ~TextChecker();

protected:
    // Takes the text the reader is about to read, for the operations below.
    void start(const std::string& text);
    // A diagnostic at a byte offset of the text.
    void error(int64_t at, const std::string& text);
    void warning(int64_t at, const std::string& text);
    void note(int64_t at, const std::string& text);
    // Line and column (both from 1, a tab one column) of a byte offset; the end of the text gives the position just
    // past it.
    Diagnostics::Position positionOf(int64_t at) const;
    // Where the line after the one offset at lies on starts; the text's size on the last line.
    int64_t nextLine(int64_t at) const;
    // The token the game reads from offset at on (empty at the end of the text).
    std::string tokenAt(int64_t at);
    // Where the next token starts from offset at on, and where the token after the one there starts;
    // the text's size when there is none.
    int64_t tokenFrom(int64_t at);
    int64_t tokenAfter(int64_t at);
    // Tells why the game could not read a number it needed at offset at, where it stops reading:
    // reason as a NumberMissing report gives it, and what the number is ("the width"). For the first
    // number of an entry or cell, tooFew says how many the list needed and found, and closing is the
    // keyword that may end the list early; both are empty for other numbers.
    void numberMissing(int64_t at, int64_t reason, const std::string& what, const std::string& tooFew,
                       const std::string& closing);
    // Pieces of diagnostic texts, as Diagnostics makes them.
    static std::string quoted(const std::string& text);
    static std::string number(int64_t value);

    std::string fileName;
    Diagnostics* diagnostics;
    int64_t textSize;

private:
    // Puts the token stream at offset at, or at the end.
    void seek(int64_t at);
    // Where the token stream's next token starts; the text's size when there is none.
    int64_t nextStart();

    std::vector<int64_t> lineStarts;
    std::istringstream tokens;
};

#endif
