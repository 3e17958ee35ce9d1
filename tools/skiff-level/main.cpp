// skiff-level: makes levels from maps of the Tiled map editor, checks level directories and plays
// either. "skiff-level --help" tells how.
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "GameRun.h"
#include "Installation.h"
#include "LevelDirectoryCheck.h"
#include "LevelImport.h"
#include "core/ScratchDirectory.h"

namespace {

struct Command {
    const char* name;
    const char* synopsis;
    size_t operands;        // how many it takes
    const char* operandNames;
    bool forces;            // whether it takes --force
    bool talks;             // whether it takes --verbose
    const char* description;
    const char* options;    // its own
};

const Command commands[] = {
    {"import", "import [--force] [--data-root DIR] [--verbose] MAP OUTDIR", 2, "MAP and OUTDIR", true, true,
     "Makes the level directory OUTDIR from MAP, a Tiled map (.tmx, .tmj or .json): level.def,\n"
     "level.dat, aliens.def and the alien picture when it is not one of the game's own. The level is\n"
     "written beside OUTDIR, checked, and put in place only when no error was found.\n",
     "  --force          replace the level already in OUTDIR; a directory that holds anything\n"
     "                   but level files is never replaced\n"},
    {"check", "check [--data-root DIR] LEVELDIR", 1, "LEVELDIR", false, false,
     "Checks the level directory LEVELDIR as the game reads it and sums it up.\n", ""},
    {"play", "play [--data-root DIR] [--verbose] MAP|LEVELDIR", 1, "MAP or LEVELDIR", false, true,
     "Imports MAP into a temporary level, or takes the level directory LEVELDIR, checks it and\n"
     "plays it. An error stops it before the game starts; the exit status is then the game's.\n", ""},
};

const char* const commonOptions =
    "  --data-root DIR  the game's data directory, where alien pictures such as bmp/alien.bmp\n"
    "                   are looked for (by default the game's own)\n";

const Command* commandNamed(const std::string& name)
{
    for (const Command& command : commands)
        if (name == command.name)
            return &command;
    return nullptr;
}

int overview()
{
    printf("Usage: skiff-level COMMAND [OPTION]... OPERAND...\n"
           "Makes Skiff levels from maps of the Tiled map editor, checks them and plays them.\n"
           "\n"
           "Commands:\n");
    for (const Command& command : commands)
        printf("  %s\n", command.synopsis);
    printf("  help [COMMAND]\n"
           "\n"
           "  -h, --help       show this help, or with a command that command's, and exit\n"
           "      --version    show the version and exit\n"
           "\n"
           "Problems go to standard error, summaries to standard output. Exit status: 0 done,\n"
           "1 an error in the map or level (play: the game's status), 2 a wrong command line.\n"
           "Run 'skiff-level help COMMAND' for more on a command.\n");
    return 0;
}

int help(const Command& command)
{
    printf("Usage: skiff-level %s\n%s\nOptions:\n%s%s", command.synopsis, command.description, command.options,
           commonOptions);
    if (command.talks)
        printf("  --verbose        notes too, such as the cells a background layer holds beyond\n"
               "                   what its parallax shows\n");
    printf("  -h, --help       show this help and exit\n"
           "Exit status: 0 done, 1 an error in the map or level, 2 a wrong command line.\n");
    return 0;
}

int wrong(const std::string& text, const std::string& command)
{
    fprintf(stderr, "skiff-level: %s\nTry 'skiff-level %s--help' for more information.\n", text.c_str(),
            command.empty() ? "" : (command + " ").c_str());
    return 2;
}

int printed(const Diagnostics& diagnostics, int status)
{
    diagnostics.print(stderr);
    fflush(stderr);
    return status;
}

void counts(const Diagnostics& diagnostics)
{
    printf("%s, %s\n", Diagnostics::plural(diagnostics.count(Diagnostics::Error), "error", "errors").c_str(),
           Diagnostics::plural(diagnostics.count(Diagnostics::Warning), "warning", "warnings").c_str());
}

// Checks a level directory and prints what was found; Passed or Failed.
int checkLevel(const std::string& dataRoot, const std::string& directory, Diagnostics& diagnostics)
{
    LevelDirectoryCheck check(dataRoot, &diagnostics);
    int result = printed(diagnostics, check.run(directory));
    check.printSummary(stdout, diagnostics);
    return result;
}

// Makes the level and prints what became of it; Imported or Failed.
int importMap(LevelImport& import, const std::string& map, const std::string& out, bool force,
              Diagnostics& diagnostics)
{
    int result = import.run(map, out, force);
    printed(diagnostics, result);
    if (import.check)
        import.check->printSummary(stdout, diagnostics);
    else
        counts(diagnostics);
    return result;
}

}

int main(int argc, char** argv)
{
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        fprintf(stderr, "skiff-level: a command is needed\nTry 'skiff-level --help' for more information.\n");
        return 2;
    }
    if (words[0] == "--help" || words[0] == "-h")
        return overview();
    if (words[0] == "--version") {
        printf("skiff-level %s\n", SKIFF_VERSION);
        return 0;
    }
    if (words[0] == "help") {
        if (words.size() == 1)
            return overview();
        const Command* named = commandNamed(words[1]);
        if (!named)
            return wrong("unknown command '" + words[1] + "'", "");
        return words.size() == 2 ? help(*named) : wrong("help takes one COMMAND at most", "");
    }
    const Command* command = commandNamed(words[0]);
    if (!command)
        return wrong((words[0][0] == '-' ? "unknown option '" : "unknown command '") + words[0] + "'", "");

    std::string dataRoot;
    bool force = false;
    bool verbose = false;
    std::vector<std::string> operands;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--help" || word == "-h")
            return help(*command);
        if (word == "--data-root" || word.compare(0, 12, "--data-root=") == 0) {
            if (word.size() > 11)
                dataRoot = word.substr(12);
            else if (i + 1 < words.size())
                dataRoot = words[++i];
            if (dataRoot.empty())
                return wrong("option '--data-root' needs a directory", command->name);
        } else if (word == "--force" && command->forces) {
            force = true;
        } else if (word == "--verbose" && command->talks) {
            verbose = true;
        } else if (word == "--") {
            operands.insert(operands.end(), words.begin() + static_cast<long>(i) + 1, words.end());
            break;
        } else if (word.size() > 1 && word[0] == '-') {
            return wrong("unknown option '" + word + "'", command->name);
        } else {
            operands.push_back(word);
        }
    }
    if (operands.size() != command->operands)
        return wrong(std::string(command->name) + " takes " + command->operandNames, command->name);

    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        fprintf(stderr, "skiff-level: Allegro cannot start\n");
        return 1;
    }
    set_color_depth(32);
    Installation installation;
    if (dataRoot.empty())
        dataRoot = installation.dataDirectory;

    Diagnostics diagnostics;
    const std::string name = command->name;
    if (name == "check")
        return checkLevel(dataRoot, operands[0], diagnostics);
    LevelImport import(dataRoot, verbose, &diagnostics);
    if (name == "import") {
        if (importMap(import, operands[0], operands[1], force, diagnostics) != LevelImport::Imported) {
            printf("nothing written: %s is as it was\n", operands[1].c_str());
            return 1;
        }
        printf("wrote the level to %s\n", operands[1].c_str());
        return 0;
    }

    std::error_code failed;
    std::string level = operands[0];
    ScratchDirectory scratch("", "skiff-level-play-");
    if (std::filesystem::is_directory(level, failed)) {
        if (checkLevel(dataRoot, level, diagnostics) != LevelDirectoryCheck::Passed)
            return 1;
    } else {
        if (scratch.path().empty()) {
            fprintf(stderr, "skiff-level: no temporary directory can be made for the level: %s\n", strerror(errno));
            return 1;
        }
        level = scratch.path() + "/level";
        if (importMap(import, operands[0], level, false, diagnostics) != LevelImport::Imported)
            return 1;
    }
    fflush(stdout);
    int status = GameRun(installation.launcher).play(level);
    return status < 0 ? 1 : status;
}
