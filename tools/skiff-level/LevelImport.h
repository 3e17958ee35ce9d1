#ifndef SKIFF_LEVEL_TOOL_LEVELIMPORT_H
#define SKIFF_LEVEL_TOOL_LEVELIMPORT_H

#include <string>

class Diagnostics;
class LevelDirectoryCheck;

// A map made into a level directory without surprises: written beside its place, checked as the
// game reads it, and put in place only when no error was found. What the check finds is told of
// the map, where the author mends it.
class LevelImport {
public:
    enum { Imported = 0, Failed = 1 };

    // Alien pictures are looked for in dataRoot, the game's working directory; notes are given
    // only when verbose.
    LevelImport(const std::string& dataRoot, bool verbose, Diagnostics* diagnostics);
    virtual ~LevelImport();

    // Imports mapPath into outDirectory, replacing a level there only when force. After Failed,
    // outDirectory is as it was.
    int run(const std::string& mapPath, const std::string& outDirectory, bool force);

    // The check of the level as made, for its summary; null when the map was refused before.
    LevelDirectoryCheck* check;

private:
    std::string dataRoot;
    bool verbose;
    Diagnostics* diagnostics;
};

#endif
