#include "headless/WorkingDirectory.h"

#include <filesystem>

WorkingDirectory::WorkingDirectory(const std::string& path) : moved(false)
{
    std::error_code failed;
    previous = std::filesystem::current_path(failed).string();
    if (failed)
        return;
    std::filesystem::current_path(path, failed);
    moved = !failed;
}

WorkingDirectory::~WorkingDirectory()
{
    std::error_code failed;
    if (moved)
        std::filesystem::current_path(previous, failed);
}
