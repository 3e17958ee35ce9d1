#include "level/DatafileBytes.h"

std::string DatafileBytes::long32(int64_t value)
{
    uint32_t bits = (uint32_t)value;
    std::string out;
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back((char)((bits >> shift) & 0xff));
    return out;
}

std::string DatafileBytes::word16(int value)
{
    std::string out;
    out.push_back((char)((value >> 8) & 0xff));
    out.push_back((char)(value & 0xff));
    return out;
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
