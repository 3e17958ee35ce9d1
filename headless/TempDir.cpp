#include "headless/TempDir.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <vector>

TempDir::TempDir()
{
    std::error_code failed;
    std::filesystem::path base = std::filesystem::temp_directory_path(failed);
    std::string pattern = ((failed ? "/tmp" : base) / "skiff-test-XXXXXX").string();
    // The standard library makes no directory of a unique name; mkdtemp does, and fills in the X's in place.
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()))
        dir = name.data();
}

TempDir::~TempDir()
{
    std::error_code failed;
    if (!dir.empty())
        std::filesystem::remove_all(dir, failed);
}

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
