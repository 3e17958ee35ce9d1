#ifndef SKIFF_TESTS_LEVEL_DATAFILEBYTES_H
#define SKIFF_TESTS_LEVEL_DATAFILEBYTES_H

#include <cstddef>
#include <cstdint>
#include <string>

// Datafiles written byte by byte after Allegro's published format: big-endian numbers,
// "slh." (a plain packfile), "ALL.", the object count, then the objects.
class DatafileBytes {
public:
    static std::string long32(int64_t value);
    static std::string word16(int value);
    // "prop", the type, the size and the text.
    static std::string property(const std::string& type, const std::string& text);
    // Type, size twice (not compressed), contents.
    static std::string object(const std::string& type, const std::string& contents);
    // A bitmap object: depth, width, height, then pixelBytes bytes of grey pixels.
    static std::string bitmap(int bits, int width, int height, size_t pixelBytes);
    static std::string datafile(int64_t count, const std::string& objects);
    // objects wrapped in depth nested datafiles of one object each.
    static std::string nested(int depth, const std::string& objects);
};

#endif
