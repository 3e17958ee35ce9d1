#ifndef SKIFF_LEVEL_TOOL_BASE64_H
#define SKIFF_LEVEL_TOOL_BASE64_H

#include <string>

// Base64 text (RFC 4648, "+" and "/", "=" padding), as Tiled writes layer data.
class Base64 {
public:
    // Decodes text into bytes, skipping white space (line breaks included). False when text holds
    // anything else that is not base64 or stops inside a group of four characters; problem then says why.
    static bool decode(const std::string& text, std::string& bytes, std::string& problem);
};

#endif
