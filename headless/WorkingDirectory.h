#ifndef SKIFF_HEADLESS_WORKINGDIRECTORY_H
#define SKIFF_HEADLESS_WORKINGDIRECTORY_H

#include <string>

// Moves into a directory for the lifetime of the object and back out afterwards,
// as the game reads its files relative to the working directory.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& path);
    virtual ~WorkingDirectory();

    // Whether the move succeeded.
    bool entered() const { return moved; }

private:
    std::string previous;
    bool moved;
};

#endif
