#include "core/TextReader.h"

#include <istream>

namespace {

// Carriage returns count as white space, so files with CRLF line ends read like any other.
bool isWhiteSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}

bool TextReader::readToken(std::istream& in, std::string& token)
{
    token.clear();
    skipWhiteSpace(in);
    if (!in.good())
        return false;
    for (;;) {
        int c = in.peek();
        if (c == std::char_traits<char>::eof() || isWhiteSpace(c))
            break;
        in.get();
        if (token.size() < MaxTokenLength)
            token.push_back(static_cast<char>(c));
    }
    return !token.empty();
}

bool TextReader::readNumber(std::istream& in, int32_t& value)
{
    in >> value;
    return !in.fail();
}

void TextReader::skipWhiteSpace(std::istream& in)
{
    if (!in.good())
        return;
    for (;;) {
        int c = in.peek();
        if (c == std::char_traits<char>::eof() || !isWhiteSpace(c))
            return;
        in.get();
    }
}

void TextReader::readLine(std::istream& in, std::string& line)
{
    line.clear();
    if (!in.good())
        return;
    // One character more than the limit is kept, so that a carriage return
    // ending a line of exactly MaxTokenLength characters can still be told apart.
    size_t length = 0;
    int last = 0;
    for (;;) {
        int c = in.peek();
        if (c == std::char_traits<char>::eof())
            break;
        in.get();
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
