#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <sys/wait.h>

#include "Installation.h"
#include "core/FileBytes.h"
#include "headless/ScratchFiles.h"

namespace {

struct Ran {
    std::string out;
    std::string err;
    int status;
};

// Runs program with arguments (shell words) in folder.
Ran run(const std::string& program, const std::string& arguments, const std::string& folder = ".")
{
    TempDir scratch;
    std::string errors = scratch.path() + "/stderr";
    std::string command = "cd '" + folder + "' && " + program + " " + arguments + " 2>'" + errors + "'";
    FILE* pipe = popen(command.c_str(), "r");
    Ran ran;
    char buffer[4096];
    size_t got;
    while (pipe && (got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        ran.out.append(buffer, got);
    int code = pipe ? pclose(pipe) : -1;
    ran.status = WIFEXITED(code) ? WEXITSTATUS(code) : -1;
    FileBytes::read(errors, ran.err);
    return ran;
}

Ran tool(const std::string& arguments, const std::string& folder = ".")
{
    return run(SKIFF_LEVEL_PROGRAM, arguments, folder);
}

// Every file below directory with its contents, by path from there.
std::map<std::string, std::string> tree(const std::string& directory)
{
    std::map<std::string, std::string> files;
    std::error_code failed;
    for (std::filesystem::recursive_directory_iterator it(directory, failed), end; !failed && it != end;
         it.increment(failed)) {
        std::string contents = it->is_directory() ? "(directory)" : "";
        FileBytes::read(it->path(), contents);
        files[it->path().lexically_relative(directory).string()] = contents;
    }
    return files;
}

// A 40 x 30 map of 8-pixel tiles, solid in its bottom row, with one alien of the game's own picture at (x, y).
std::string aMap(int x, int y, const std::string& more = "")
{
    std::string bottom;
    for (int c = 0; c < 40; ++c)
        bottom += c ? ",1" : "1";
    std::string grid;
    for (int r = 0; r < 29; ++r)
        grid += "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,\n";
    return "<map orientation=\"orthogonal\" width=\"40\" height=\"30\" tilewidth=\"8\" tileheight=\"8\">\n"
           " <tileset firstgid=\"1\" name=\"rock\" tilewidth=\"8\" tileheight=\"8\" tilecount=\"1\" columns=\"1\">"
           "<image source=\"rock.bmp\"/></tileset>\n"
           " <layer id=\"1\" name=\"main\" width=\"40\" height=\"30\"><data encoding=\"csv\">\n" + grid + bottom +
           "\n</data></layer>\n" + more +
           " <objectgroup id=\"2\" name=\"aliens\">\n"
           "  <properties><property name=\"image\" value=\"bmp/alien.bmp\"/></properties>\n"
           "  <object id=\"7\" name=\"ufo\" x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\"/>\n"
           " </objectgroup>\n</map>\n";
}

class CommandLine : public testing::Test {
protected:
    void SetUp() override
    {
        BITMAP* rock = makeBitmap(8, 8, makecol32(120, 90, 60));
        saveBitmap(dir, "rock.bmp", rock);
        destroy_bitmap(rock);
    }

    TempDir dir;
};

}

// Each row is one rule of the command line, for the level tool and the build tree's launcher alike.
TEST(CommandLineRules, EveryProgramAnswersAsTheTableSays)
{
    const std::string level = SKIFF_LEVEL_PROGRAM;
    const std::string launcher = SKIFF_BUILD_LAUNCHER;
    const struct {
        const std::string& program;
        std::string arguments;
        int status;
        std::string out;  // what standard output starts with
        std::string err;  // what standard error starts with
    } rules[] = {
        {level, "--help", 0, "Usage: skiff-level COMMAND", ""},
        {level, "-h", 0, "Usage: skiff-level COMMAND", ""},
        {level, "help", 0, "Usage: skiff-level COMMAND", ""},
        {level, "--version", 0, std::string("skiff-level ") + SKIFF_VERSION + "\n", ""},
        {level, "help import", 0, "Usage: skiff-level import [--force] [--data-root DIR] [--verbose] MAP OUTDIR\n", ""},
        {level, "import --help", 0, "Usage: skiff-level import [--force]", ""},
        {level, "check -h", 0, "Usage: skiff-level check [--data-root DIR] LEVELDIR\n", ""},
        {level, "play --help x", 0, "Usage: skiff-level play [--data-root DIR] [--verbose] MAP|LEVELDIR\n", ""},
        {level, "", 2, "", "skiff-level: a command is needed\nTry 'skiff-level --help' for more information.\n"},
        {level, "frobnicate", 2, "", "skiff-level: unknown command 'frobnicate'\nTry 'skiff-level --help'"},
        {level, "help frobnicate", 2, "", "skiff-level: unknown command 'frobnicate'\n"},
        {level, "--frobnicate", 2, "", "skiff-level: unknown option '--frobnicate'\n"},
        {level, "import --frob a b", 2, "", "skiff-level: unknown option '--frob'\nTry 'skiff-level import --help'"},
        {level, "check --force x", 2, "", "skiff-level: unknown option '--force'\n"},
        {level, "import a", 2, "", "skiff-level: import takes MAP and OUTDIR\n"},
        {level, "play a b", 2, "", "skiff-level: play takes MAP or LEVELDIR\n"},
        {level, "check --data-root", 2, "", "skiff-level: option '--data-root' needs a directory\n"},
        {launcher, "--help", 0, "Usage: skiff [--level DIR]\n", ""},
        {launcher, "-h", 0, "Usage: skiff [--level DIR]\n", ""},
        {launcher, "--version", 0, std::string("skiff ") + SKIFF_VERSION + "\n", ""},
        {launcher, "--frob", 2, "", "skiff: unknown option '--frob'\nTry 'skiff --help' for more information.\n"},
        {launcher, "somewhere", 2, "", "skiff: unexpected argument 'somewhere'\n"},
        {launcher, "--level", 2, "", "skiff: option '--level' needs a directory\n"},
        {launcher, "--level /nonexistent", 1, "", "skiff: '/nonexistent' is not a level directory"},
    };
    for (const auto& rule : rules) {
        SCOPED_TRACE(rule.program + " " + rule.arguments);
        Ran ran = run(rule.program, rule.arguments);
        EXPECT_EQ(rule.status, ran.status);
        EXPECT_EQ(rule.out, ran.out.substr(0, rule.out.size()));
        EXPECT_EQ(rule.err, ran.err.substr(0, rule.err.size()));
        EXPECT_TRUE(rule.out.empty() ? ran.out.empty() : ran.err.empty()) << ran.out << ran.err;
    }
}

TEST(CommandLineRules, TheToolFindsTheGameOfItsBuildTreeOrElseOfItsInstallation)
{
    Installation built(std::string(SKIFF_BUILT_AT) + "/skiff-level");
    EXPECT_TRUE(built.fromBuildTree);
    EXPECT_EQ(std::filesystem::path(SKIFF_SOURCE_DIR "/data").lexically_normal(), built.dataDirectory);
    EXPECT_EQ(SKIFF_BUILD_LAUNCHER, built.launcher);

    Installation installed("/opt/unpacked/usr/bin/skiff-level");
    EXPECT_FALSE(installed.fromBuildTree);
    EXPECT_EQ("/opt/unpacked/usr/share/games/skiff", installed.dataDirectory);
    EXPECT_EQ("/opt/unpacked/usr/games/skiff", installed.launcher);
}

TEST_F(CommandLine, CheckPrintsProblemsToStandardErrorAndTheSummaryToStandardOutput)
{
    dir.write("level.def", "LEVELDEF T\n{ tileset 0 16 1 1 1 }\n");
    Ran ran = tool("check " + dir.path());
    EXPECT_EQ(1, ran.status);
    EXPECT_NE(std::string::npos, ran.err.find(dir.path() + "/level.dat: error: the tile pictures are missing")) << ran.err;
    EXPECT_NE(std::string::npos, ran.err.find(dir.path() + "/level.def:2:11: error: picture 0 cannot be cut")) << ran.err;
    EXPECT_EQ("the game refuses this level\n3 errors, 1 warning\n", ran.out);

    ran = tool("check " + std::string(SKIFF_SOURCE_DIR) + "/data/level0/");
    EXPECT_EQ(0, ran.status) << ran.err;
    EXPECT_NE(std::string::npos, ran.out.find("scrolls for ")) << ran.out;
    EXPECT_NE(std::string::npos, ran.out.find("69 aliens\n0 errors, 0 warnings\n")) << ran.out;
    EXPECT_EQ("", ran.err);
}

TEST_F(CommandLine, AnImportIntoAnyDirectoryFindsTheGamesPicturesAndCountsWhatItPrinted)
{
    // Two warnings: a hidden layer, and an image layer.
    dir.write("mine.tmx", aMap(200, 100,
                               " <layer name=\"sketch\" width=\"1\" height=\"1\" visible=\"0\"><data encoding=\"csv\">"
                               "0</data></layer>\n <imagelayer name=\"photo\"/>\n"));
    Ran ran = tool("import mine.tmx levels/mine", dir.path());
    EXPECT_EQ(0, ran.status) << ran.err;
    EXPECT_NE(std::string::npos, ran.out.find("0 errors, 2 warnings\nwrote the level to levels/mine\n")) << ran.out;
    size_t warnings = 0;
    for (size_t at = 0; (at = ran.err.find(": warning: ", at)) != std::string::npos; ++at)
        ++warnings;
    EXPECT_EQ(2u, warnings) << ran.err;
    std::string aliens;
    FileBytes::read(dir.path() + "/levels/mine/aliens.def", aliens);
    EXPECT_EQ("ALIENPROTOS 1\n0 bmp/alien.bmp 0 0\nALIENDEF 1\n0 200 100\n", aliens);

    ran = tool("import --data-root . mine.tmx other", dir.path());
    EXPECT_EQ(1, ran.status);
    EXPECT_NE(std::string::npos, ran.err.find("give --data-root DIR")) << ran.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/other"));
}

TEST_F(CommandLine, AFailedOrRefusedImportLeavesTheOutputDirectoryAsItWas)
{
    dir.write("mine.tmx", aMap(200, 100));
    dir.write("rocky.tmx", aMap(200, 220));  // the alien's bottom rows in the solid bottom row
    ASSERT_EQ(0, tool("import mine.tmx out", dir.path()).status);
    const std::map<std::string, std::string> before = tree(dir.path());

    Ran ran = tool("import rocky.tmx out", dir.path());
    EXPECT_EQ(1, ran.status);
    EXPECT_NE(std::string::npos, ran.err.find("out: error: already exists: give --force")) << ran.err;
    ran = tool("import --force rocky.tmx out", dir.path());
    EXPECT_EQ(1, ran.status);
    EXPECT_NE(std::string::npos, ran.err.find("inside solid terrain")) << ran.err;
    EXPECT_NE(std::string::npos, ran.out.find("nothing written: out is as it was\n")) << ran.out;
    ran = tool("import --force rocky.tmx absent", dir.path());
    EXPECT_EQ(1, ran.status);
    EXPECT_TRUE(before == tree(dir.path())) << "a failed import changed or left files";

    dir.write("out/mine.tmx", "the author's own");
    const std::map<std::string, std::string> authors = tree(dir.path());
    ran = tool("import --force mine.tmx out", dir.path());
    EXPECT_EQ(1, ran.status);
    EXPECT_NE(std::string::npos, ran.err.find("holds more than a level: \"mine.tmx\"")) << ran.err;
    EXPECT_TRUE(authors == tree(dir.path())) << "a refused import changed files";

    std::filesystem::remove(dir.path() + "/out/mine.tmx");
    dir.write("moved.tmx", aMap(240, 100));
    ran = tool("import --force moved.tmx out/", dir.path());
    EXPECT_EQ(0, ran.status) << ran.err;
    std::map<std::string, std::string> after = tree(dir.path());
    EXPECT_EQ(before.size() + 1, after.size());
    EXPECT_NE(std::string::npos, after["out/aliens.def"].find("\n0 240 100\n"));
}
