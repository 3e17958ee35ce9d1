#ifndef SKIFF_CORE_SCRATCHDIRECTORY_H
#define SKIFF_CORE_SCRATCHDIRECTORY_H

#include <string>

// A directory of a fresh name, removed with everything in it when this object goes, unless kept.
class ScratchDirectory {
public:
    // Makes parent/prefixXXXXXX; in the system's temporary directory ($TMPDIR, or else /tmp) when
    // parent is empty.
    ScratchDirectory(const std::string& parent, const std::string& prefix);
    virtual ~ScratchDirectory();

    // Empty when no directory could be made.
    const std::string& path() const { return dir; }
    // Leaves whatever stands at the path when this object goes.
    void keep() { kept = true; }

private:
    std::string dir;
    bool kept;
};

#endif
