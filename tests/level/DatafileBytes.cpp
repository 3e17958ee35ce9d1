#include "level/DatafileBytes.h"

std::string DatafileBytes::long32(int64_t value)
{
    return word16((int)(((uint32_t)value >> 16) & 0xffff)) + word16((int)((uint32_t)value & 0xffff));
}

std::string DatafileBytes::word16(int value)
{
    return std::string(1, (char)((value >> 8) & 0xff)) + (char)(value & 0xff);
}

std::string DatafileBytes::property(const std::string& type, const std::string& text)
{
    return "prop" + type + long32(text.size()) + text;
}

std::string DatafileBytes::object(const std::string& type, const std::string& contents)
{
    return type + long32(contents.size()) + long32(contents.size()) + contents;
}

std::string DatafileBytes::bitmap(int bits, int width, int height, size_t pixelBytes)
{
    return object("BMP ", word16(bits) + word16(width) + word16(height) + std::string(pixelBytes, '\x40'));
}

std::string DatafileBytes::datafile(int64_t count, const std::string& objects)
{
    return "slh.ALL." + long32(count) + objects;
}

std::string DatafileBytes::nested(int depth, const std::string& objects)
{
    std::string wrapped = objects;
    for (int i = 0; i < depth; ++i)
        wrapped = object("FILE", long32(1) + wrapped);
    return wrapped;
}
