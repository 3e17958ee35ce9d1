#include "TokenScanner.h"

#include <algorithm>

namespace {
const size_t MaxTokenLength = 127;
const int EndOfText = -1;
}

TokenScanner::TokenScanner(const std::string& source)
    : text(source), offset(0), lastStart(0), numberProblem(NoProblem), ended(false), failed(false)
{
    lineStarts.push_back(0);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n')
            lineStarts.push_back(i + 1);
    }
}

TokenScanner::~TokenScanner() {}

bool TokenScanner::isWhiteSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void TokenScanner::restartAt(size_t at)
{
    offset = at;
    lastStart = at;
    ended = false;
    failed = false;
    numberProblem = NoProblem;
}

int TokenScanner::peek()
{
    // A stream that is not good refuses to peek and marks itself failed.
    if (!good()) {
        failed = true;
        return EndOfText;
    }
    if (offset >= text.size()) {
        ended = true;
        return EndOfText;
    }
    return static_cast<unsigned char>(text[offset]);
}

void TokenScanner::skipWhiteSpace()
{
    if (!good())
        return;
    for (;;) {
        int c = peek();
        if (c == EndOfText || !isWhiteSpace(c))
            return;
        ++offset;
    }
}

bool TokenScanner::readToken(std::string& token)
{
    token.clear();
    skipWhiteSpace();
    lastStart = offset;
    if (!good())
        return false;
    for (;;) {
        int c = peek();
        if (c == EndOfText || isWhiteSpace(c))
            break;
        ++offset;
        if (token.size() < MaxTokenLength)
            token.push_back(static_cast<char>(c));
    }
    return !token.empty();
}

bool TokenScanner::readNumber(int32_t& value)
{
    numberProblem = NoProblem;
    lastStart = offset;
    // The extraction's sentry: a stream that is not good fails at once, otherwise white space is skipped.
    if (!good()) {
        failed = true;
        numberProblem = NotGood;
        return false;
    }
    while (offset < text.size() && isWhiteSpace(static_cast<unsigned char>(text[offset])))
        ++offset;
    lastStart = offset;
    if (offset >= text.size()) {
        ended = true;
        failed = true;
        numberProblem = EndOfFile;
        return false;
    }
    bool negative = false;
    if (text[offset] == '-' || text[offset] == '+') {
        negative = text[offset] == '-';
        ++offset;
    }
    int digits = 0;
    bool tooLarge = false;
    int64_t magnitude = 0;
    while (offset < text.size() && text[offset] >= '0' && text[offset] <= '9') {
        if (!tooLarge) {
            magnitude = magnitude * 10 + (text[offset] - '0');
            if (magnitude > 2147483648LL)
                tooLarge = true;
        }
        ++digits;
        ++offset;
    }
    if (offset >= text.size())
        ended = true;
    if (digits == 0) {
        failed = true;
        numberProblem = NotANumber;
        return false;
    }
    if (tooLarge || (!negative && magnitude > 2147483647LL)) {
        failed = true;
        numberProblem = OutOfRange;
        return false;
    }
    value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return true;
}

bool TokenScanner::readWord(std::string& word)
{
    word.clear();
    lastStart = offset;
    if (!good()) {
        failed = true;
        return false;
    }
    while (offset < text.size() && isWhiteSpace(static_cast<unsigned char>(text[offset])))
        ++offset;
    lastStart = offset;
    while (offset < text.size() && !isWhiteSpace(static_cast<unsigned char>(text[offset])))
        word.push_back(text[offset++]);
    if (offset >= text.size())
        ended = true;
    if (word.empty())
        failed = true;
    return !word.empty();
}

void TokenScanner::readLine(std::string& line)
{
    line.clear();
    if (!good())
        return;
    size_t length = 0;
    int last = 0;
    for (;;) {
        int c = peek();
        if (c == EndOfText)
            break;
        ++offset;
        if (c == '\n')
            break;
        ++length;
        last = c;
        if (line.size() <= MaxTokenLength)
            line.push_back(static_cast<char>(c));
    }
    if (last == '\r' && length <= MaxTokenLength + 1)
        line.pop_back();
    if (line.size() > MaxTokenLength)
        line.resize(MaxTokenLength);
}

SourcePosition TokenScanner::positionOf(size_t at) const
{
    size_t line = std::upper_bound(lineStarts.begin(), lineStarts.end(), at) - lineStarts.begin();
    return SourcePosition{static_cast<int>(line), static_cast<int>(at - lineStarts[line - 1] + 1)};
}

std::string TokenScanner::wordAt(size_t at) const
{
    size_t end = at;
    while (end < text.size() && !isWhiteSpace(static_cast<unsigned char>(text[end])))
        ++end;
    return text.substr(at < text.size() ? at : text.size(), end - at);
}

size_t TokenScanner::skipFrom(size_t at) const
{
    while (at < text.size() && isWhiteSpace(static_cast<unsigned char>(text[at])))
        ++at;
    return at;
}
