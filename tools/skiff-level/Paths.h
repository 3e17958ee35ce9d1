#ifndef SKIFF_LEVEL_TOOL_PATHS_H
#define SKIFF_LEVEL_TOOL_PATHS_H

#include <string>

// File names and file contents, the way the tool needs them.
class Paths {
public:
    // directory and name with one "/" between them ("a" + "b" and "a/" + "b" give "a/b").
    static std::string join(const std::string& directory, const std::string& name);
    // The directory a path lies in ("." for a bare name); trailing separators are ignored.
    static std::string parent(const std::string& path);
    // The last name of a path without its extension.
    static std::string stem(const std::string& path);
    // The extension in lower case, without the dot.
    static std::string extension(const std::string& path);
    // The absolute form of path with "." and ".." resolved (through symbolic links when it exists).
    static std::string absolute(const std::string& path);
    // path written relative to directory (both made absolute first).
    static std::string relative(const std::string& path, const std::string& directory);
    // Whether path lies inside directory (both absolute), and the rest of it after directory.
    static bool inside(const std::string& path, const std::string& directory, std::string& rest);
    // As FileBytes::read.
    static bool read(const std::string& path, std::string& contents);
    // As FileBytes::write.
    static bool write(const std::string& path, const std::string& contents);
    static bool exists(const std::string& path);
    // Makes the directory and its parents; false when it still does not exist.
    static bool makeDirectories(const std::string& path);
};

#endif
