#ifndef SKIFF_LEVEL_TOOL_TOKENSCANNER_H
#define SKIFF_LEVEL_TOOL_TOKENSCANNER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "SourcePosition.h"

// Reads the text of level.def or aliens.def exactly as the game does (TextReader on a
// standard stream, and the stream's own extraction of numbers and words), keeping the
// stream's good, end and failed states, and tells where every token starts.
class TokenScanner {
public:
    // Why a number could not be read.
    enum NumberProblem { NoProblem, NotGood, EndOfFile, NotANumber, OutOfRange };

    explicit TokenScanner(const std::string& text);
    virtual ~TokenScanner();

    // As TextReader::readToken: the next token cut to 127 characters; false at the end or once failed.
    bool readToken(std::string& token);
    // As TextReader::readNumber (stream extraction of a 32-bit int); on false the scanner has failed
    // and numberProblem says why.
    bool readNumber(int32_t& value);
    // As extracting a std::string from the stream: a whole word, however long.
    bool readWord(std::string& word);
    // As TextReader::skipWhiteSpace.
    void skipWhiteSpace();
    // As TextReader::readLine.
    void readLine(std::string& line);
    // Starts afresh at offset with a good stream, to go on checking past a point where the game stops.
    void restartAt(size_t at);
    // As the stream's peek: the next character, or -1 at the end (which sets the end state).
    int peek();

    bool good() const { return !ended && !failed; }
    bool hasFailed() const { return failed; }

    // Line and column of a byte offset; the end of the text gives the position just past it.
    SourcePosition positionOf(size_t offset) const;
    SourcePosition position() const { return positionOf(offset); }
    // The white-space separated word starting at offset (empty at the end of the text).
    std::string wordAt(size_t offset) const;
    // Offset of the next character that is not white space, from offset on.
    size_t skipFrom(size_t offset) const;
    static bool isWhiteSpace(int c);

    const std::string& text;
    size_t offset;
    size_t lastStart;         // where the last token, number or word began (or was looked for)
    NumberProblem numberProblem;

private:
    bool ended;
    bool failed;
    std::vector<size_t> lineStarts;
};

#endif
