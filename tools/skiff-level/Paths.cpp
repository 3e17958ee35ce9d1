#include "Paths.h"

#include <filesystem>

#include "FileBytes.h"

std::string Paths::join(const std::string& directory, const std::string& name)
{
    return (std::filesystem::path(directory) / name).string();
}

std::string Paths::parent(const std::string& path)
{
    std::filesystem::path named(path);
    if (!named.has_filename())
        named = named.parent_path();
    std::filesystem::path up = named.parent_path();
    return up.empty() ? "." : up.string();
}

std::string Paths::relative(const std::string& path, const std::string& directory)
{
    std::error_code why;
    std::filesystem::path from = std::filesystem::weakly_canonical(std::filesystem::absolute(directory, why), why);
    std::filesystem::path to = std::filesystem::weakly_canonical(std::filesystem::absolute(path, why), why);
    return to.lexically_relative(from).string();
}

bool Paths::read(const std::string& path, std::string& contents)
{
    return FileBytes::read(path, contents);
}

bool Paths::write(const std::string& path, const std::string& contents)
{
    return FileBytes::write(path, contents);
}

bool Paths::exists(const std::string& path)
{
    std::error_code why;
    return std::filesystem::exists(path, why);
}
