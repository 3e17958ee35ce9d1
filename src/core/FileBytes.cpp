#include "core/FileBytes.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

bool FileBytes::read(const std::filesystem::path& path, std::string& contents)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::string bytes;
    char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, got);
    bool good = !ferror(file);
    fclose(file);
    if (good)
        contents.swap(bytes);
    return good;
}

bool FileBytes::write(const std::filesystem::path& path, const std::string& contents)
{
    // Through a link, the file it names is replaced and the link stays.
    std::error_code error;
    std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
    if (error)
        return false;
    // Writing in place would lose the old contents to a full disk halfway through: the new ones are
    // written aside in the same directory, made durable, and renamed over the old file in one step.
    std::filesystem::path aside;
    FILE* file = nullptr;
    for (int attempt = 0; !file && attempt < 100; ++attempt) {
        aside = target;
        aside += "." + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".part";
        // "x" refuses a name that is taken, which may be another writer's file.
        file = fopen(aside.c_str(), "wbx");
        if (!file && errno != EEXIST)
            return false;
    }
    if (!file)
        return false;
    bool good = fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    good = fflush(file) == 0 && good;
    good = fsync(fileno(file)) == 0 && good;
    good = fclose(file) == 0 && good;
    if (good)
        std::filesystem::rename(aside, target, error);
    if (good && !error)
        return true;
    std::filesystem::remove(aside, error);
    return false;
}
