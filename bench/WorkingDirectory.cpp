#include "WorkingDirectory.h"

#include <unistd.h>

#include <vector>

WorkingDirectory::WorkingDirectory(const std::string& path) : moved(false)
{
    std::vector<char> buffer(4096);
    if (getcwd(buffer.data(), buffer.size()))
        previous = buffer.data();
    moved = !previous.empty() && chdir(path.c_str()) == 0;
}

WorkingDirectory::~WorkingDirectory()
{
    if (moved && chdir(previous.c_str()) != 0)
        return;
}

std::string sourceDataDirectory()
{
    return std::string(SKIFF_SOURCE_DIR) + "/data";
}

bool shippedLevelPresent(const std::string& dataDirectory)
{
    return access((dataDirectory + "/level0/level.def").c_str(), R_OK) == 0 &&
           access((dataDirectory + "/level0/level.dat").c_str(), R_OK) == 0;
}
