#ifndef SKIFF_CORE_TEXTREADER_H
#define SKIFF_CORE_TEXTREADER_H

#include <cstdint>
#include <iosfwd>
#include <string>

// Whitespace-separated tokens of the level and alien text files.
class TextReader {
public:
    enum { MaxTokenLength = 127 };

    // Next token, cut to MaxTokenLength characters (the rest of it is dropped).
    // False at the end of the stream or when it has failed.
    static bool readToken(std::istream& in, std::string& token);
    // A decimal integer with an optional sign. False, with the stream failed, when none is there.
    static bool readNumber(std::istream& in, int32_t& value);
    // Skips blanks, tabs, carriage returns and line feeds.
    static void skipWhiteSpace(std::istream& in);
    // Rest of the line without its line end, cut to MaxTokenLength characters; the line feed is consumed.
    static void readLine(std::istream& in, std::string& line);
};

#endif
