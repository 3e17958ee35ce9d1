#include "core/ScratchDirectory.h"

#include <stdlib.h>

#include <filesystem>
#include <vector>

ScratchDirectory::ScratchDirectory(const std::string& parent, const std::string& prefix) : kept(false)
{
    std::error_code failed;
    std::filesystem::path base = parent;
    if (base.empty()) {
        base = std::filesystem::temp_directory_path(failed);
        if (failed)
            base = "/tmp";
    }
    std::string pattern = (base / (prefix + "XXXXXX")).string();
    // The standard library makes no directory of a unique name; mkdtemp does, and fills in the X's in place.
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()))
        dir = name.data();
}

ScratchDirectory::~ScratchDirectory()
{
    std::error_code failed;
    if (!dir.empty() && !kept)
        std::filesystem::remove_all(dir, failed);
}
