#ifndef SKIFF_LEVEL_TOOL_PATHS_H
#define SKIFF_LEVEL_TOOL_PATHS_H

#include <string>

// File names and file contents for the code that does not use std::filesystem and FileBytes yet.
class Paths {
public:
    // directory and name with one "/" between them ("a" + "b" and "a/" + "b" give "a/b").
    static std::string join(const std::string& directory, const std::string& name);
    // The directory a path lies in ("." for a bare name); trailing separators are ignored.
    static std::string parent(const std::string& path);
    // path written relative to directory (both made absolute first).
    static std::string relative(const std::string& path, const std::string& directory);
    // As FileBytes::read.
    static bool read(const std::string& path, std::string& contents);
    // As FileBytes::write.
    static bool write(const std::string& path, const std::string& contents);
    // Whether anything stands at path.
    static bool exists(const std::string& path);
};

#endif
