#ifndef SKIFF_CORE_FILEBYTES_H
#define SKIFF_CORE_FILEBYTES_H

#include <cstdint>
#include <filesystem>
#include <string>

// Whole files as strings, read and written in one call.
class FileBytes {
public:
    // Reads the regular file at path into contents; false, contents unchanged, when path is no
    // regular file (a FIFO or a device could block or never end) or cannot be read.
    static bool read(const std::filesystem::path& path, std::string& contents);
    enum { Read = 0, Missing, Unreadable, NotRegular, TooLarge };
    // As read, for a file of at most maxBytes, telling why not: Missing, Unreadable, NotRegular
    // (a FIFO, device, socket or directory, refused without blocking) or TooLarge.
    static int readAtMost(const std::filesystem::path& path, std::string& contents, int64_t maxBytes);
    // What readAtMost would answer, without reading: for files a library opens by name. The file is opened
    // without waiting and what was opened is judged, so a FIFO or device is refused without blocking.
    static int check(const std::filesystem::path& path, int64_t maxBytes);
    // Replaces the file at path (or the file a link there names) with contents; false when it cannot.
    // Whatever stood at path is left as it was on failure, and nothing is left beside it.
    static bool write(const std::filesystem::path& path, const std::string& contents);
};

#endif
