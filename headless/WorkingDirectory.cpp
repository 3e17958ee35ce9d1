#include "headless/WorkingDirectory.h"

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
