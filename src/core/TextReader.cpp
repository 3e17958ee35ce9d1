#include "core/TextReader.h"

#include <istream>

#include "level/LevelFormat.h"

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
        if (token.size() < LevelFormat::MaxNameLength)
            token.push_back(static_cast<char>(c));
    }
    return !token.empty();
}

bool TextReader::readNumber(std::istream& in, int32_t& value)
{
    in >> value;
    return !in.fail();
}

bool TextReader::readNumber(std::istream& in, int32_t& value, ReadDiagnostics* diagnostics,
                            ReadDiagnostics::Field field, int64_t* at, int64_t item, int64_t count)
{
    if (!diagnostics)
        return readNumber(in, value);
    // The extraction skips white space itself; skipping it first changes nothing but tells where the number starts.
    int64_t start = nextTokenAt(in);
    bool atEnd = !in.good() || in.peek() == std::char_traits<char>::eof();
    if (at)
        *at = start;
    if (readNumber(in, value))
        return true;
    // A number too large for 32 bits is stored as the nearest limit, a missing one as 0.
    using Sink = ReadDiagnostics;
    int reason = atEnd ? Sink::AtEnd : value != 0 ? Sink::OutOfRange : Sink::NotANumber;
    Sink::tell(diagnostics, Sink::NumberMissing, start, std::string(), field, reason, item, count);
    return false;
}

bool TextReader::readKeyword(std::istream& in, const char* keyword, ReadDiagnostics* diagnostics,
                             ReadDiagnostics::Kind missing, int64_t* at)
{
    int64_t start = diagnostics ? nextTokenAt(in) : 0;
    if (at)
        *at = start;
    std::string token;
    if (readToken(in, token) && token == keyword)
        return true;
    ReadDiagnostics::tell(diagnostics, missing, start, token);
    return false;
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

size_t TextReader::readLine(std::istream& in, std::string& line)
{
    line.clear();
    if (!in.good())
        return 0;
    // One character more than the limit is kept, so that a carriage return
    // ending a line of exactly that many characters can still be told apart.
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
        if (line.size() <= LevelFormat::MaxNameLength)
            line.push_back(static_cast<char>(c));
    }
    if (last == '\r' && length <= LevelFormat::MaxNameLength + 1)
        line.pop_back();
    if (line.size() > LevelFormat::MaxNameLength)
        line.resize(LevelFormat::MaxNameLength);
    return last == '\r' ? length - 1 : length;
}

int64_t TextReader::nextTokenAt(std::istream& in)
{
    skipWhiteSpace(in);
    // Asked of the buffer, not the stream, whose tellg would fail a stream already at its end.
    std::streambuf* buffer = in.rdbuf();
    return buffer ? static_cast<int64_t>(buffer->pubseekoff(0, std::ios::cur, std::ios::in)) : -1;
}
