#include "headless/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <unistd.h>

TempDir::TempDir()
{
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base ? base : "/tmp") + "/skiff-test-XXXXXX";
    char buffer[512];
    pattern.copy(buffer, sizeof buffer - 1);
    buffer[pattern.size()] = '\0';
    const char* made = mkdtemp(buffer);
    dir = made ? made : "/tmp";
}

TempDir::~TempDir()
{
    if (dir != "/tmp") {
        std::string command = "rm -rf '" + dir + "'";
        if (system(command.c_str()) != 0)
            return;
    }
}

std::string TempDir::write(const std::string& name, const std::string& contents) const
{
    std::string path = dir + "/" + name;
    std::ofstream out(path, std::ios::binary);
    out << contents;
    return path;
}

std::string TempDir::prefix() const
{
    return dir + "/";
}
