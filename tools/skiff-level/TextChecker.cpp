#include "TextChecker.h"

#include <algorithm>

#include "Diagnostics.h"
#include "core/TextReader.h"

TextChecker::TextChecker(const std::string& name, Diagnostics* sink) : fileName(name), diagnostics(sink), textSize(0) {}

TextChecker::~TextChecker() {}

void TextChecker::start(const std::string& text)
{
    textSize = static_cast<int64_t>(text.size());
    lineStarts.assign(1, 0);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n')
            lineStarts.push_back(static_cast<int64_t>(i) + 1);
    }
    tokens.clear();
    tokens.str(text);
}

void TextChecker::error(int64_t at, const std::string& text)
{
    diagnostics->add(Diagnostics::Error, fileName, positionOf(at), text);
}

void TextChecker::warning(int64_t at, const std::string& text)
{
    diagnostics->add(Diagnostics::Warning, fileName, positionOf(at), text);
}

void TextChecker::note(int64_t at, const std::string& text)
{
    diagnostics->add(Diagnostics::Note, fileName, positionOf(at), text);
}

Diagnostics::Position TextChecker::positionOf(int64_t at) const
{
    int64_t offset = std::max<int64_t>(at, 0);
    size_t line = std::upper_bound(lineStarts.begin(), lineStarts.end(), offset) - lineStarts.begin();
    return Diagnostics::Position{static_cast<int>(line), static_cast<int>(offset - lineStarts[line - 1] + 1)};
}

int64_t TextChecker::nextLine(int64_t at) const
{
    size_t line = static_cast<size_t>(positionOf(at).line);
    return line < lineStarts.size() ? lineStarts[line] : textSize;
}

void TextChecker::numberMissing(int64_t at, int64_t reason, const std::string& what, const std::string& tooFew,
                                const std::string& closing)
{
    std::string word = tokenAt(at);
    std::string problem = "a word where a number belongs: " + quoted(word) + " stands where " + what + " belongs";
    if (reason == AtEnd)
        problem = tooFew.empty() ? "the file ends where " + what + " belongs"
                                 : "numbers too few: " + tooFew + ", and the file ends";
    else if (reason == OutOfRange)
        problem = quoted(word) + " stands where " + what + " belongs and does not fit in 32 bits";
    else if (!tooFew.empty() && word == closing)
        problem = "numbers too few: " + tooFew + ", and " + quoted(closing) + " comes";
    error(at, problem + ": the game stops reading the file here");
}

std::string TextChecker::quoted(const std::string& text)
{
    return Diagnostics::quoted(text);
}

std::string TextChecker::number(int64_t value)
{
    return Diagnostics::number(value);
}

void TextChecker::seek(int64_t at)
{
    tokens.clear();
    tokens.seekg(std::min(std::max<int64_t>(at, 0), textSize));
}

int64_t TextChecker::nextStart()
{
    // A stream a token ran to the end of has failed; nextTokenAt asks its buffer, which still knows where it is.
    int64_t next = TextReader::nextTokenAt(tokens);
    return next < 0 ? textSize : std::min(next, textSize);
}

std::string TextChecker::tokenAt(int64_t at)
{
    std::string token;
    seek(at);
    TextReader::readToken(tokens, token);
    return token;
}

int64_t TextChecker::tokenFrom(int64_t at)
{
    seek(at);
    return nextStart();
}

int64_t TextChecker::tokenAfter(int64_t at)
{
    tokenAt(at);
    return nextStart();
}
