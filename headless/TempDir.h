#ifndef SKIFF_HEADLESS_TEMPDIR_H
#define SKIFF_HEADLESS_TEMPDIR_H

#include <string>

#include "core/ScratchDirectory.h"

// A fresh directory under the system's temporary directory ($TMPDIR, or else /tmp), removed with
// everything in it. Its path is empty when none could be made.
class TempDir {
public:
    TempDir();
    virtual ~TempDir();
    // path() + "/" + name, with contents written to it.
    std::string write(const std::string& name, const std::string& contents) const;
    // The directory with a trailing "/", as the game's loaders expect.
    std::string prefix() const;
    const std::string& path() const { return dir; }

private:
    ScratchDirectory scratch;
    std::string dir;
};

#endif
