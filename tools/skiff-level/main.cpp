// skiff-level: checks a level directory and turns maps of the Tiled map editor into levels.
//
//   skiff-level check [--data-root DIR] LEVELDIR
//   skiff-level import [--data-root DIR] MAP OUTDIR      (MAP: .tmx, .tmj or .json)
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "LevelDirectoryCheck.h"
#include "MapImport.h"
#include "core/DataPaths.h"

namespace {

int usage()
{
    fprintf(stderr,
            "usage: skiff-level check [--data-root DIR] LEVELDIR\n"
            "       skiff-level import [--data-root DIR] MAP OUTDIR   (MAP: .tmx, .tmj or .json)\n"
            "DIR is the game's working directory, where alien pictures are looked for;\n"
            "by default the directory that holds LEVELDIR or OUTDIR.\n");
    return 2;
}

// The directory that holds directory: "data" for "data/level0" and "data/level0/", "." for "level0".
std::string holder(const std::string& directory)
{
    std::filesystem::path named(directory);
    if (!named.has_filename())
        named = named.parent_path();
    std::filesystem::path up = named.parent_path();
    return up.empty() ? "." : up.string();
}

}

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage();
    std::string command = argv[1];
    std::string dataRoot;
    std::vector<std::string> operands;
    for (int i = 2; i < argc; ++i) {
        if (!strcmp(argv[i], "--data-root") && i + 1 < argc)
            dataRoot = argv[++i];
        else if (argv[i][0] == '-' && argv[i][1] != '\0')
            return usage();
        else
            operands.push_back(argv[i]);
    }
    bool known = command == "check" ? operands.size() == 1 : command == "import" && operands.size() == 2;
    if (!known)
        return usage();

    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        fprintf(stderr, "skiff-level: Allegro cannot start\n");
        return 2;
    }
    set_color_depth(32);

    Diagnostics diagnostics;
    if (command == "check") {
        LevelDirectoryCheck check(dataRoot.empty() ? holder(operands[0]) : dataRoot, &diagnostics);
        int result = check.run(operands[0]);
        diagnostics.print(stdout);
        check.printSummary(stdout);
        return result;
    }
    std::string root = dataRoot.empty() ? holder(operands[1]) : dataRoot;
    MapImport import(&diagnostics);
    int result = import.run(operands[0], operands[1], root);
    diagnostics.print(stdout);
    if (result != MapImport::Imported) {
        fprintf(stdout, "nothing written\n");
        return 1;
    }
    std::filesystem::path out(operands[1]);
    fprintf(stdout, "wrote %s, %s and %s\n", (out / DataPaths::LevelDescription).c_str(),
            (out / DataPaths::LevelPictures).c_str(), (out / DataPaths::AlienFile).c_str());
    Diagnostics loaded;
    LevelDirectoryCheck check(root, &loaded);
    int checked = check.run(operands[1]);
    loaded.print(stdout);
    check.printSummary(stdout);
    return checked;
}
