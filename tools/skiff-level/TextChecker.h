#ifndef SKIFF_LEVEL_TOOL_TEXTCHECKER_H
#define SKIFF_LEVEL_TOOL_TEXTCHECKER_H

#include <cstdint>
#include <string>

#include "core/ReadDiagnostics.h"

class Diagnostics;
class TextLines;

// A diagnostics sink for one of the game's text files: what the game's reader reports
// becomes diagnostics for that file, byte offsets made lines and columns.
class TextChecker : public ReadDiagnostics {
public:
    // Problems of one kind listed one by one before they are only counted.
    enum { MaxReported = 10 };

    // fileName is the name used in the diagnostics.
    TextChecker(const std::string& fileName, Diagnostics* diagnostics);
    virtual ~TextChecker();

protected:
    // A diagnostic at a byte offset of the text being read; lines must be set.
    void error(int64_t at, const std::string& text);
    void warning(int64_t at, const std::string& text);
    void note(int64_t at, const std::string& text);

    std::string fileName;
    Diagnostics* diagnostics;
    const TextLines* lines;  // the text being read, while it is
};

#endif
