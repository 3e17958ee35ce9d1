#include "TextChecker.h"

#include "Diagnostics.h"
#include "TextLines.h"

TextChecker::TextChecker(const std::string& name, Diagnostics* sink) : fileName(name), diagnostics(sink), lines(nullptr)
{
}

TextChecker::~TextChecker() {}

void TextChecker::error(int64_t at, const std::string& text)
{
    diagnostics->error(fileName, lines->positionOf(at), text);
}

void TextChecker::warning(int64_t at, const std::string& text)
{
    diagnostics->warning(fileName, lines->positionOf(at), text);
}

void TextChecker::note(int64_t at, const std::string& text)
{
    diagnostics->note(fileName, lines->positionOf(at), text);
}
