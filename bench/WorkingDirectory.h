#ifndef SKIFF_BENCH_WORKINGDIRECTORY_H
#define SKIFF_BENCH_WORKINGDIRECTORY_H

#include <string>

// Moves into a directory for the lifetime of the object and back out afterwards.
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

// The source tree's data/ directory, where the shipped level lies.
std::string sourceDataDirectory();
// Whether the shipped level0/ is present under dataDirectory.
bool shippedLevelPresent(const std::string& dataDirectory);

#endif
