#ifndef SKIFF_LEVEL_TOOL_LEVELSWAP_H
#define SKIFF_LEVEL_TOOL_LEVELSWAP_H

#include <string>
#include <vector>

class Diagnostics;
class ScratchDirectory;

// A level directory made beside its place and put there in one step at the end, so that after any
// failure the place is as it was. An existing directory is replaced only when forced, and only
// when it holds nothing but level files, so that no author's file is ever deleted.
class LevelSwap {
public:
    enum { Done = 0, Refused = 1 };

    LevelSwap(const std::string& place, bool force, Diagnostics* diagnostics);
    // Removes the staging directory unless it was put in place.
    virtual ~LevelSwap();

    // Refused, after reporting why, when place may not be made or replaced; otherwise makes the
    // staging directory beside it.
    int begin();
    // The directory to write the level into, once begun.
    std::string staging() const;
    // Puts the staging directory in place and removes the level it replaces; Refused, with
    // everything as before, when that cannot be done.
    int commit();

    // What of directory an import may replace: its level files, and the pictures its aliens.def
    // names through the level directory. The other entries' names, sorted.
    static std::vector<std::string> foreignEntries(const std::string& directory);

private:
    int mayReplace();

    std::string place;
    bool force;
    Diagnostics* diagnostics;
    ScratchDirectory* stage;
};

#endif
