#ifndef SKIFF_TESTS_LEVEL_DATAFILEBYTES_H
#define SKIFF_TESTS_LEVEL_DATAFILEBYTES_H

#include <cstddef>
#include <cstdint>
#include <string>

// Datafiles written byte by byte after Allegro's published format: big-endian numbers,
// "slh." (a plain packfile), "ALL.", the object count, then the objects.
namespace DatafileBytes {

std::string long32(int64_t value);
std::string word16(int value);
// "prop", the type, the size and the text.
std::string property(const std::string& type, const std::string& text);
// Type, size twice (not compressed), contents.
std::string object(const std::string& type, const std::string& contents);
// A bitmap object: depth, width, height, then pixelBytes bytes of grey pixels.
std::string bitmap(int bits, int width, int height, size_t pixelBytes);
std::string datafile(int64_t count, const std::string& objects);
// objects wrapped in depth nested datafiles of one object each.
std::string nested(int depth, const std::string& objects);

}

#endif
