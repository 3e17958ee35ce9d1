// skiff-level: checks a level directory and turns maps of the Tiled map editor into levels.
//
//   skiff-level check [--data-root DIR] LEVELDIR
//   skiff-level import [--data-root DIR] MAP OUTDIR      (MAP: .tmx, .tmj or .json)
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "LevelDirectoryCheck.h"
#include "MapImport.h"
#include "Paths.h"
#include "core/DataPaths.h"
#include "render/Renderer.h"

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

    Renderer renderer;
    Diagnostics diagnostics;
    if (command == "check") {
        LevelDirectoryCheck check(&renderer, &diagnostics);
        int result = check.run(operands[0], dataRoot.empty() ? Paths::parent(operands[0]) : dataRoot);
        diagnostics.print(stdout);
        check.printSummary(stdout);
        return result;
    }
    if (command == "import") {
        std::string root = dataRoot.empty() ? Paths::parent(operands[1]) : dataRoot;
        MapImport import(&diagnostics);
        int result = import.run(operands[0], operands[1], root);
        diagnostics.print(stdout);
        if (result != MapImport::Imported) {
            fprintf(stdout, "nothing written\n");
            return 1;
        }
        fprintf(stdout, "wrote %s, %s and %s\n", Paths::join(operands[1], DataPaths::LevelDescription).c_str(),
                Paths::join(operands[1], DataPaths::LevelPictures).c_str(),
                Paths::join(operands[1], DataPaths::AlienFile).c_str());
        Diagnostics loaded;
        LevelDirectoryCheck check(&renderer, &loaded);
        int checked = check.run(operands[1], root);
        loaded.print(stdout);
        check.printSummary(stdout);
        return checked;
    }
}
