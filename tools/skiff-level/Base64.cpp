#include "Base64.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

int valueOf(char c)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const char* found = c ? strchr(alphabet, c) : nullptr;
    return found ? static_cast<int>(found - alphabet) : -1;
}

std::string shown(char c)
{
    if (isprint(static_cast<unsigned char>(c)))
        return "\"" + std::string(1, c) + "\"";
    char code[8];
    snprintf(code, sizeof code, "0x%02x", static_cast<unsigned char>(c));
    return code;
}

}

bool Base64::decode(const std::string& text, std::string& bytes, std::string& problem)
{
    bytes.clear();
    bytes.reserve(text.size() / 4 * 3);
    unsigned bits = 0;
    int held = 0;
    int padding = 0;
    size_t characters = 0;
    for (char c : text) {
        if (isspace(static_cast<unsigned char>(c)))
            continue;
        ++characters;
        if (c == '=' && held >= 2) {
            ++padding;
            continue;
        }
        int value = valueOf(c);
        if (value < 0 || padding > 0) {
            if (c == '=' || padding > 0)
                problem = "its base64 data has \"=\" padding before its end";
            else
                problem = "its base64 data holds " + shown(c) + ", which is not a base64 character";
            return false;
        }
        bits = bits << 6 | static_cast<unsigned>(value);
        if (++held == 4) {
            bytes.push_back(static_cast<char>(bits >> 16));
            bytes.push_back(static_cast<char>(bits >> 8));
            bytes.push_back(static_cast<char>(bits));
            bits = 0;
            held = 0;
        }
    }
    if (characters % 4 != 0 || (padding > 0 && held + padding != 4)) {
        problem = "its base64 data stops inside a group of four characters: it is cut short";
        return false;
    }
    if (held == 2)
        bytes.push_back(static_cast<char>(bits >> 4));
    else if (held == 3) {
        bytes.push_back(static_cast<char>(bits >> 10));
        bytes.push_back(static_cast<char>(bits >> 2));
    }
    return true;
}
