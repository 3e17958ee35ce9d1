#ifndef SKIFF_LEVEL_TOOL_CHECKEDALIEN_H
#define SKIFF_LEVEL_TOOL_CHECKEDALIEN_H

#include <cstdint>
#include <string>

#include "SourcePosition.h"

// An alien prototype of aliens.def that the game builds.
struct CheckedPrototype {
    std::string picture;
    int32_t explosionKind;
    SourcePosition at;  // its picture name
};

// A placement of aliens.def that the game makes into an alien.
struct CheckedPlacement {
    int32_t x;
    int32_t y;
    SourcePosition at;  // its first number
};

#endif
