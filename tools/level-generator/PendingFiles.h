#ifndef SKIFF_TOOLS_LEVEL_PENDINGFILES_H
#define SKIFF_TOOLS_LEVEL_PENDINGFILES_H

#include <string>
#include <vector>

// Files written under a temporary name beside their own and moved into place together at the
// end, so that a failure while writing leaves every old file as it was.
class PendingFiles {
public:
    PendingFiles();
    // Removes the temporary files not moved into place.
    virtual ~PendingFiles();

    // The temporary name to write the file finally called path under.
    std::string aside(const std::string& path);
    // Renames the temporary files onto their own names, in the order they were set aside.
    // 0, or -1 with the reason on stderr after the first rename that fails.
    int commit();

private:
    std::vector<std::string> finalPaths;
    std::vector<std::string> temporaryPaths;
    size_t committed;
};

#endif
