#include "TextLines.h"

#include <algorithm>

namespace {

// White space as the game's readers skip it.
bool isWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}

TextLines::TextLines(const std::string& source) : text(source)
{
    lineStarts.push_back(0);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n')
            lineStarts.push_back(i + 1);
    }
}

TextLines::~TextLines() {}

SourcePosition TextLines::positionOf(int64_t offset) const
{
    size_t at = offset < 0 ? 0 : static_cast<size_t>(offset);
    size_t line = std::upper_bound(lineStarts.begin(), lineStarts.end(), at) - lineStarts.begin();
    return SourcePosition{static_cast<int>(line), static_cast<int>(at - lineStarts[line - 1] + 1)};
}

std::string TextLines::wordAt(size_t offset) const
{
    size_t start = offset < text.size() ? offset : text.size();
    size_t end = start;
    while (end < text.size() && !isWhiteSpace(text[end]))
        ++end;
    return text.substr(start, end - start);
}

size_t TextLines::skipFrom(size_t offset) const
{
    while (offset < text.size() && isWhiteSpace(text[offset]))
        ++offset;
    return offset;
}

size_t TextLines::nextWord(size_t offset) const
{
    return skipFrom(offset + wordAt(offset).size());
}

size_t TextLines::lineEnd(size_t offset) const
{
    size_t feed = text.find('\n', offset);
    return feed == std::string::npos ? text.size() : feed + 1;
}
