#ifndef SKIFF_LEVEL_TOOL_INFLATER_H
#define SKIFF_LEVEL_TOOL_INFLATER_H

#include <string>

// The compressions Tiled writes layer data in: zlib (RFC 1950), gzip (RFC 1952) and zstd.
class Inflater {
public:
    // Whether method is one of "zlib", "gzip" and "zstd".
    static bool knows(const std::string& method);
    // Decompresses packed into out, never past size + 1 bytes, so that a stream that would grow
    // beyond size is caught without inflating it. False when the stream is damaged, cut short or
    // longer than size; problem then says why. A stream shorter than size is the caller's to judge.
    static bool inflate(const std::string& method, const std::string& packed, size_t size, std::string& out,
                        std::string& problem);

private:
    static bool zlib(bool gzip, const std::string& packed, std::string& out, std::string& problem);
    static bool zstd(const std::string& packed, std::string& out, std::string& problem);
};

#endif
