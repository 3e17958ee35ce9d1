#include "headless/TempDir.h"

#include <fstream>

TempDir::TempDir() : scratch("", "skiff-test-"), dir(scratch.path()) {}

TempDir::~TempDir() {}

std::string TempDir::write(const std::string& name, const std::string& contents) const
{
    if (dir.empty())
        return std::string();
    std::string path = dir + "/" + name;
    std::ofstream out(path, std::ios::binary);
    out << contents;
    return path;
}

std::string TempDir::prefix() const
{
    return dir + "/";
}
