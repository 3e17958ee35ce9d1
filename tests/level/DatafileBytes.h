#ifndef SKIFF_TESTS_LEVEL_DATAFILEBYTES_H
#define SKIFF_TESTS_LEVEL_DATAFILEBYTES_H

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

// Datafiles written byte by byte after Allegro's published format: big-endian numbers,
// "slh." (a plain packfile), "ALL.", the object count, then the objects.
namespace DatafileBytes {

inline std::string word16(int value)
{
    return std::string(1, (char)((value >> 8) & 0xff)) + (char)(value & 0xff);
}

inline std::string long32(int64_t value)
{
    return word16((int)(((uint32_t)value >> 16) & 0xffff)) + word16((int)((uint32_t)value & 0xffff));
}

// "prop", the type, the size and the text.
inline std::string property(const std::string& type, const std::string& text)
{
    return "prop" + type + long32(text.size()) + text;
}

// Type, size twice (not compressed), contents.
inline std::string object(const std::string& type, const std::string& contents)
{
    return type + long32(contents.size()) + long32(contents.size()) + contents;
}

// A bitmap object: depth, width, height, then pixelBytes bytes of grey pixels.
inline std::string bitmap(int bits, int width, int height, size_t pixelBytes)
{
    return object("BMP ", word16(bits) + word16(width) + word16(height) + std::string(pixelBytes, '\x40'));
}

inline std::string datafile(int64_t count, const std::string& objects)
{
    return "slh.ALL." + long32(count) + objects;
}

// The bytes of the file at path; none when it cannot be read.
inline std::string contentsOf(const std::string& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

// objects wrapped in depth nested datafiles of one object each.
inline std::string nested(int depth, std::string objects)
{
    for (int i = 0; i < depth; ++i)
        objects = object("FILE", long32(1) + objects);
    return objects;
}

}

#endif
