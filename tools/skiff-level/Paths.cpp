#include "Paths.h"

#include <climits>
#include <cstdlib>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "FileBytes.h"

namespace {

std::string withoutTrailingSeparators(const std::string& path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    return trimmed;
}

std::vector<std::string> split(const std::string& path)
{
    std::vector<std::string> names;
    std::string name;
    std::istringstream parts(path);
    while (std::getline(parts, name, '/')) {
        if (name.empty() || name == ".")
            continue;
        if (name == ".." && !names.empty())
            names.pop_back();
        else if (name != "..")
            names.push_back(name);
    }
    return names;
}

}

std::string Paths::join(const std::string& directory, const std::string& name)
{
    if (directory.empty())
        return name;
    if (!name.empty() && name[0] == '/')
        return name;
    return directory.back() == '/' ? directory + name : directory + "/" + name;
}

std::string Paths::parent(const std::string& path)
{
    std::string trimmed = withoutTrailingSeparators(path);
    size_t slash = trimmed.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return trimmed.substr(0, slash);
}

std::string Paths::stem(const std::string& path)
{
    std::string trimmed = withoutTrailingSeparators(path);
    size_t slash = trimmed.find_last_of('/');
    std::string name = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string Paths::extension(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return extension;
}

std::string Paths::absolute(const std::string& path)
{
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved))
        return resolved;
    std::string full = path;
    if (path.empty() || path[0] != '/') {
        char cwd[PATH_MAX];
        full = join(getcwd(cwd, sizeof cwd) ? cwd : ".", path);
    }
    std::string result;
    for (const std::string& name : split(full))
        result += "/" + name;
    return result.empty() ? "/" : result;
}

std::string Paths::relative(const std::string& path, const std::string& directory)
{
    std::vector<std::string> target = split(absolute(path));
    std::vector<std::string> base = split(absolute(directory));
    size_t common = 0;
    while (common < target.size() && common < base.size() && target[common] == base[common])
        ++common;
    std::string result;
    for (size_t i = common; i < base.size(); ++i)
        result += "../";
    for (size_t i = common; i < target.size(); ++i)
        result += target[i] + (i + 1 < target.size() ? "/" : "");
    if (!result.empty() && result.back() == '/')
        result.pop_back();
    return result.empty() ? "." : result;
}

bool Paths::inside(const std::string& path, const std::string& directory, std::string& rest)
{
    std::string base = withoutTrailingSeparators(directory);
    if (base == "/")
        base.clear();
    if (path.size() <= base.size() + 1 || path.compare(0, base.size(), base) != 0 || path[base.size()] != '/')
        return false;
    rest = path.substr(base.size() + 1);
    return true;
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
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

bool Paths::makeDirectories(const std::string& path)
{
    if (path.empty() || exists(path))
        return true;
    std::string up = parent(path);
    if (up != path && !makeDirectories(up))
        return false;
    mkdir(path.c_str(), 0777);
    return exists(path);
}
