#ifndef SKIFF_LEVEL_TOOL_SOURCEPOSITION_H
#define SKIFF_LEVEL_TOOL_SOURCEPOSITION_H

// Where something stands in a text file: line and column from 1. A column of 0
// means the whole line, a line of 0 the whole file.
struct SourcePosition {
    int line;
    int column;
};

#endif
