#ifndef SKIFF_LEVEL_TOOL_INSTALLATION_H
#define SKIFF_LEVEL_TOOL_INSTALLATION_H

#include <string>

// Where the game and its data lie, as seen from this program: run from the build tree it was
// built in, the game of that build and the source tree's data/; installed, those of its own
// installation. Found from where the program lies, never from the working directory.
class Installation {
public:
    // From the running program's own place.
    Installation();
    // As if the program lay at program (a path to it).
    explicit Installation(const std::string& program);
    virtual ~Installation();

    std::string dataDirectory;  // the game's working directory: intro/, bmp/, allegro.cfg, level0/
    std::string launcher;       // starts the game; takes --level DIR
    bool fromBuildTree;

private:
    void locate(const std::string& program);
};

#endif
