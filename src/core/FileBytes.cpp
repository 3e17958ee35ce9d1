#include "core/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

bool FileBytes::read(const std::filesystem::path& path, std::string& contents)
{
    return readAtMost(path, contents, INT64_MAX) == Read;
}

namespace {

// Opens path for reading without waiting, and judges what was opened: a FIFO would block the open, a
// device never end, and a name checked before opening may be swapped for either. The descriptor is
// left open, in descriptor, only when the answer is Read.
int openRegular(const std::filesystem::path& path, int64_t maxBytes, int& descriptor, struct stat& status)
{
    descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        return errno == ENOENT ? FileBytes::Missing : FileBytes::Unreadable;
    int answer = FileBytes::Read;
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
        answer = FileBytes::NotRegular;
    else if (status.st_size > maxBytes)
        answer = FileBytes::TooLarge;
    if (answer != FileBytes::Read) {
        close(descriptor);
        descriptor = -1;
    }
    return answer;
}

}

int FileBytes::check(const std::filesystem::path& path, int64_t maxBytes)
{
    int descriptor = -1;
    struct stat status;
    int answer = openRegular(path, maxBytes, descriptor, status);
    if (descriptor >= 0)
        close(descriptor);
    return answer;
}

int FileBytes::readAtMost(const std::filesystem::path& path, std::string& contents, int64_t maxBytes)
{
    int descriptor = -1;
    struct stat status;
    int answer = openRegular(path, maxBytes, descriptor, status);
    if (answer != Read)
        return answer;
    std::string bytes;
    bytes.reserve(static_cast<size_t>(status.st_size));
    char buffer[65536];
    ssize_t got;
    // A file that grows while it is read is held to the bound all the same.
    while ((got = ::read(descriptor, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
        if (got < 0)
            continue;
        if (static_cast<int64_t>(bytes.size()) + got > maxBytes) {
            close(descriptor);
            return TooLarge;
        }
        bytes.append(buffer, static_cast<size_t>(got));
    }
    close(descriptor);
    if (got < 0)
        return Unreadable;
    contents.swap(bytes);
    return Read;
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
