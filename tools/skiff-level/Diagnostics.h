#ifndef SKIFF_LEVEL_TOOL_DIAGNOSTICS_H
#define SKIFF_LEVEL_TOOL_DIAGNOSTICS_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>


// The problems found in a level's files, printed the way compilers do:
// "FILE:LINE:COLUMN: error: text".
class Diagnostics {
public:
    enum Severity { Error, Warning, Note };
    // Diagnostics kept and printed at most; the rest are only counted. A hostile file can hold millions
    // of faults, and nobody reads past the first screenfuls.
    enum { MaxKept = 1000 };

    // Where something stands in a text file: line and column from 1. A column of 0 means the
    // whole line, a line of 0 the whole file.
    struct Position {
        int line;
        int column;
    };
    static constexpr Position WholeFile = {0, 0};

    struct Entry {
        std::string file;
        Position position;
        Severity severity;
        std::string text;
    };

    Diagnostics();
    virtual ~Diagnostics();

    // A problem of a file at a position; a note is a remark on the diagnostic before it. Beyond MaxKept
    // entries it is only counted.
    void add(Severity severity, const std::string& file, Position position, const std::string& text);
    // Counts the diagnostics other did not keep as this one's own.
    void countUnkept(const Diagnostics& other);

    // Every entry, files in the order first mentioned, and within a file by position; then how many
    // were not kept, if any.
    void print(FILE* out) const;
    // One entry as a line without its line end, made printable.
    static std::string format(const Entry& entry);
    // text with every control character shown as "\x1b", so that printing it cannot drive a terminal.
    static std::string printable(const std::string& text);

    // Pieces of diagnostic texts: "text" in quotes, a number, "1 thing" or "2 things".
    static std::string quoted(const std::string& text);
    static std::string number(int64_t value);
    // Two numbers as a size, "320 x 240".
    static std::string size(int64_t width, int64_t height);
    // A number with its thousands set apart ("32,767"), and a decimal fraction as short as it goes ("0.25").
    static std::string grouped(int64_t value);
    static std::string decimal(double value);
    static std::string plural(int64_t count, const std::string& one, const std::string& many);
    // Whether word is a decimal integer with an optional sign.
    static bool isInteger(const std::string& word);

    // How many diagnostics of this severity there are, kept or not.
    int count(Severity severity) const;

    std::vector<Entry> entries;
    int unkept[3];
};

#endif
