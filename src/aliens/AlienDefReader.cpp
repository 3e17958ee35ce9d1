#include "aliens/AlienDefReader.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "core/Game.h"
#include "core/TextReader.h"

namespace {
const int MaxPathLength = 255;
}

AlienDefReader::AlienDefReader(Game* owner, const char* levelDirectory) : game(owner)
{
    char path[MaxPathLength + 1];
    int length = snprintf(path, sizeof path, "%saliens.def", levelDirectory ? levelDirectory : "");
    if (length < 0 || length > MaxPathLength)
        return;
    std::ifstream in(path);
    if (in)
        read(in);
}

AlienDefReader::AlienDefReader(Game* owner, std::istream& in) : game(owner)
{
    read(in);
}

AlienDefReader::~AlienDefReader() {}

void AlienDefReader::read(std::istream& in)
{
    if (!game)
        return;
    std::string word;
    if (!TextReader::readToken(in, word) || word != "ALIENPROTOS")
        return;
    int32_t count = 0;
    if (!TextReader::readNumber(in, count))
        return;
    for (int32_t i = 0; i < count; ++i) {
        int32_t type = 0;
        if (!TextReader::readNumber(in, type))
            return;
        if (type != 0)
            continue;
        std::string picture;
        int32_t explosionKind = 0;
        int32_t last = 0;
        if (!(in >> picture) || !TextReader::readNumber(in, explosionKind) || !TextReader::readNumber(in, last))
            return;
        // A longer name is no file name of the format: the entry is skipped whole.
        if (picture.size() <= TextReader::MaxTokenLength)
            game->addAlienPrototype(last, picture.c_str(), explosionKind);
    }
    if (!TextReader::readToken(in, word) || word != "ALIENDEF")
        return;
    if (!TextReader::readNumber(in, count))
        return;
    for (int32_t i = 0; i < count; ++i) {
        int32_t ignored = 0;
        int32_t x = 0;
        int32_t y = 0;
        if (!TextReader::readNumber(in, ignored) || !TextReader::readNumber(in, x) ||
            !TextReader::readNumber(in, y))
            return;
        game->addAlien(ignored, x, y);
    }
}
