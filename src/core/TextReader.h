#ifndef SKIFF_CORE_TEXTREADER_H
#define SKIFF_CORE_TEXTREADER_H

#include <cstdint>
#include <iosfwd>
#include <string>

#include "core/ReadDiagnostics.h"

// Whitespace-separated tokens of the level and alien text files.
class TextReader {
public:
    // Next token, cut to LevelFormat::MaxNameLength characters (the rest of it is dropped).
    // False at the end of the stream or when it has failed.
    static bool readToken(std::istream& in, std::string& token);
    // A decimal integer with an optional sign. False, with the stream failed, when none is there.
    static bool readNumber(std::istream& in, int32_t& value);
    // As readNumber; with a sink, sets at to where the number starts and, when none could be
    // read, reports NumberMissing for field with item and count (see ReadDiagnostics).
    static bool readNumber(std::istream& in, int32_t& value, ReadDiagnostics* diagnostics,
                           ReadDiagnostics::Field field, int64_t* at = nullptr, int64_t item = 0, int64_t count = 0);
    // Reads a token; true when it is keyword. Otherwise, with a sink, reports missing with the token
    // read in its place. With a sink, at is set to where the token starts.
    static bool readKeyword(std::istream& in, const char* keyword, ReadDiagnostics* diagnostics,
                            ReadDiagnostics::Kind missing, int64_t* at = nullptr);
    // Skips blanks, tabs, carriage returns and line feeds.
    static void skipWhiteSpace(std::istream& in);
    // Rest of the line without its line end, cut to LevelFormat::MaxNameLength characters; the line feed is consumed.
    // Returns the length of the whole line without its line end.
    static size_t readLine(std::istream& in, std::string& line);
    // Skips white space, as every read does first, and tells where the next token starts:
    // a byte offset from the start of the stream (-1 when the stream cannot tell).
    static int64_t nextTokenAt(std::istream& in);
};

#endif
