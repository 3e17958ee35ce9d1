#ifndef SKIFF_LEVEL_TOOL_TEXTLINES_H
#define SKIFF_LEVEL_TOOL_TEXTLINES_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "SourcePosition.h"

// A text file read whole, for telling where its words stand: the game's readers report
// byte offsets, which this turns into lines and columns.
class TextLines {
public:
    explicit TextLines(const std::string& text);
    virtual ~TextLines();

    // Line and column (both from 1, a tab one column) of a byte offset; the end of the
    // text gives the position just past it.
    SourcePosition positionOf(int64_t offset) const;
    // The white-space separated word starting at offset (empty at the end of the text).
    std::string wordAt(size_t offset) const;
    // Offset of the next character that is not white space, from offset on.
    size_t skipFrom(size_t offset) const;
    // Offset of the word after the one at offset.
    size_t nextWord(size_t offset) const;
    // Offset just past the line that offset lies on, its line feed included.
    size_t lineEnd(size_t offset) const;

    const std::string& text;

private:
    std::vector<size_t> lineStarts;
};

#endif
