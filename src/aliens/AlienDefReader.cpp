#include "aliens/AlienDefReader.h"

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>

#include "core/DataPaths.h"
#include "core/FileBytes.h"
#include "core/Game.h"
#include "core/ReadDiagnostics.h"
#include "core/TextReader.h"
#include "level/LevelFormat.h"

namespace {
const int MaxPathLength = 255;
}

AlienDefReader::AlienDefReader(Game* owner, const char* levelDirectory) : game(owner), wasRefused(false)
{
    char path[MaxPathLength + 1];
    int length = snprintf(path, sizeof path, "%s%s", levelDirectory ? levelDirectory : "", DataPaths::AlienFile);
    if (length < 0 || length > MaxPathLength)
        return;
    std::string text;
    int answer = FileBytes::readAtMost(path, text, LevelFormat::MaxTextBytes);
    wasRefused = answer != FileBytes::Read && answer != FileBytes::Missing;
    if (answer != FileBytes::Read)
        return;
    std::istringstream in(text);
    read(in, nullptr);
}

AlienDefReader::AlienDefReader(Game* owner, std::istream& in, ReadDiagnostics* diagnostics)
    : game(owner), wasRefused(false)
{
    read(in, diagnostics);
}

AlienDefReader::~AlienDefReader() {}

bool AlienDefReader::refused() const
{
    return wasRefused;
}

void AlienDefReader::read(std::istream& in, ReadDiagnostics* diagnostics)
{
    using Sink = ReadDiagnostics;
    if (!game)
        return;
    if (!TextReader::readKeyword(in, "ALIENPROTOS", diagnostics, Sink::PrototypeKeywordMissing))
        return;
    int64_t at = 0;
    int32_t count = 0;
    if (!TextReader::readNumber(in, count, diagnostics, Sink::PrototypeCount, &at))
        return;
    Sink::tell(diagnostics, Sink::CountRead, at, std::string(), count, 0);
    for (int32_t i = 0; i < count; ++i) {
        int32_t type = 0;
        if (!TextReader::readNumber(in, type, diagnostics, Sink::EntryType, &at, i, count))
            return;
        if (type != 0) {
            Sink::tell(diagnostics, Sink::EntryTypeSkipped, at, std::string(), type);
            continue;
        }
        std::string picture;
        int32_t explosionKind = 0;
        int32_t last = 0;
        int64_t pictureAt = diagnostics ? TextReader::nextTokenAt(in) : 0;
        if (!(in >> picture)) {
            Sink::tell(diagnostics, Sink::NumberMissing, pictureAt, std::string(), Sink::Picture, Sink::AtEnd, i,
                       count);
            return;
        }
        int64_t kindAt = 0;
        if (!TextReader::readNumber(in, explosionKind, diagnostics, Sink::ExplosionKind, &kindAt, i, count) ||
            !TextReader::readNumber(in, last, diagnostics, Sink::LastNumber, nullptr, i, count))
            return;
        // A longer name is no file name of the format: the entry is skipped whole.
        if (picture.size() > LevelFormat::MaxNameLength) {
            Sink::tell(diagnostics, Sink::PictureNameTooLong, pictureAt, picture, static_cast<int64_t>(picture.size()));
            continue;
        }
        // Each prototype loads its picture: a file naming millions would take the game minutes and gigabytes.
        if (game->alienPrototypes.size() >= LevelFormat::MaxAlienPrototypes) {
            Sink::tell(diagnostics, Sink::PrototypeBeyondLimit, pictureAt, picture, i);
            continue;
        }
        bool built = game->addAlienPrototype(last, picture.c_str(), explosionKind);
        Sink::tell(diagnostics, built ? Sink::PrototypeRead : Sink::PrototypeRefused, pictureAt, picture, i,
                   explosionKind, kindAt);
    }
    if (!TextReader::readKeyword(in, "ALIENDEF", diagnostics, Sink::PlacementKeywordMissing))
        return;
    if (!TextReader::readNumber(in, count, diagnostics, Sink::PlacementCount, &at))
        return;
    Sink::tell(diagnostics, Sink::CountRead, at, std::string(), count, 1);
    for (int32_t i = 0; i < count; ++i) {
        int32_t ignored = 0;
        int32_t x = 0;
        int32_t y = 0;
        int64_t xAt = 0;
        int64_t yAt = 0;
        if (!TextReader::readNumber(in, ignored, diagnostics, Sink::PlacementFirst, &at, i, count) ||
            !TextReader::readNumber(in, x, diagnostics, Sink::PlacementX, &xAt, i, count) ||
            !TextReader::readNumber(in, y, diagnostics, Sink::PlacementY, &yAt, i, count))
            return;
        if (game->aliens.size() >= LevelFormat::MaxAliens) {
            Sink::tell(diagnostics, Sink::PlacementBeyondLimit, at, std::string(), i);
            continue;
        }
        bool placed = game->addAlien(ignored, x, y);
        Sink::tell(diagnostics, placed ? Sink::PlacementRead : Sink::PlacementRefused, at, std::string(), x, y, xAt,
                   yAt);
    }
    if (diagnostics) {
        at = TextReader::nextTokenAt(in);
        if (in.good() && in.peek() != std::char_traits<char>::eof())
            Sink::tell(diagnostics, Sink::TextNotRead, at);
    }
}
