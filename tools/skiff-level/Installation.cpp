#include "Installation.h"

#include <filesystem>

namespace {

std::filesystem::path normal(const std::filesystem::path& path)
{
    std::error_code failed;
    std::filesystem::path whole = std::filesystem::weakly_canonical(path, failed);
    return (failed ? path : whole).lexically_normal();
}

}

Installation::Installation() : fromBuildTree(false)
{
    std::error_code failed;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
    locate(failed ? std::string() : self.string());
}

Installation::Installation(const std::string& program) : fromBuildTree(false)
{
    locate(program);
}

Installation::~Installation() {}

void Installation::locate(const std::string& program)
{
    std::filesystem::path lies = normal(std::filesystem::path(program).parent_path());
    fromBuildTree = lies == normal(SKIFF_BUILT_AT);
    if (fromBuildTree) {
        dataDirectory = normal(SKIFF_SOURCE_DATA).string();
        launcher = SKIFF_BUILD_LAUNCHER;
        return;
    }
    dataDirectory = (lies / SKIFF_TOOL_TO_DATADIR).lexically_normal().string();
    launcher = (lies / SKIFF_TOOL_TO_LAUNCHER).lexically_normal().string();
}
