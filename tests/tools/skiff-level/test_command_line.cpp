#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

#include "core/FileBytes.h"
#include "headless/ScratchFiles.h"

namespace {

// Runs skiff-level with arguments in the working directory folder; its standard output, and its exit status in status.
std::string run(const std::string& arguments, int& status, const std::string& folder = ".")
{
    std::string command = "cd '" + folder + "' && " + SKIFF_LEVEL_PROGRAM + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    size_t got;
    while (pipe && (got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, got);
    int code = pipe ? pclose(pipe) : -1;
    status = WIFEXITED(code) ? WEXITSTATUS(code) : -1;
    return output;
}

}

TEST(CommandLine, CheckPrintsProblemsAsFileLineColumnAndFailsOnAnError)
{
    TempDir dir;
    dir.write("level.def", "LEVELDEF T\n{ tileset 0 16 1 1 1 }\n");
    int status = 0;
    std::string output = run("check " + dir.path(), status);
    EXPECT_EQ(1, status) << output;
    EXPECT_NE(std::string::npos, output.find(dir.path() + "/level.dat: error: the tile pictures are missing"))
        << output;
    EXPECT_NE(std::string::npos, output.find(dir.path() + "/level.def:2:11: error: picture 0 cannot be cut")) << output;
    EXPECT_NE(std::string::npos, output.find("the game refuses this level\n")) << output;

    output = run("check " + std::string(SKIFF_SOURCE_DIR) + "/data/level0/", status);
    EXPECT_EQ(0, status) << output;
    EXPECT_NE(std::string::npos, output.find("scrolls for ")) << output;
    EXPECT_NE(std::string::npos, output.find("0 errors")) << output;
    EXPECT_EQ(std::string::npos, output.find("level0//")) << output;
}

TEST(CommandLine, UnknownCommandsAndMissingOperandsShowTheUsage)
{
    int status = 0;
    EXPECT_NE(std::string::npos, run("verify x", status).find("usage: skiff-level check"));
    EXPECT_EQ(2, status);
}

TEST(CommandLine, ImportTakesTheParentOfAnOutputDirectoryEndingInASlashAsTheDataDirectory)
{
    // The map lies in the working directory and names its pictures relative to it.
    TempDir dir;
    std::error_code failed;
    std::filesystem::create_directories(dir.path() + "/data/bmp", failed);
    BITMAP* picture = makeBitmap(16, 16, makecol32(0, 200, 0));
    saveBitmap(dir, "tiles.bmp", picture);
    saveBitmap(dir, "data/bmp/a.bmp", picture);
    destroy_bitmap(picture);
    dir.write("level.tmx", "<map orientation=\"orthogonal\" width=\"1\" height=\"1\" tilewidth=\"16\" tileheight=\"16\">\n"
                           " <tileset firstgid=\"1\" name=\"tiles\" tilewidth=\"16\" tileheight=\"16\" tilecount=\"1\" "
                           "columns=\"1\"><image source=\"tiles.bmp\"/></tileset>\n"
                           " <tileset firstgid=\"2\" name=\"alien\" tilewidth=\"16\" tileheight=\"16\" tilecount=\"1\" "
                           "columns=\"0\"><tile id=\"0\"><image source=\"data/bmp/a.bmp\"/></tile></tileset>\n"
                           " <layer name=\"main\" width=\"1\" height=\"1\"><data encoding=\"csv\">1</data></layer>\n"
                           " <objectgroup name=\"aliens\"><object id=\"1\" gid=\"2\" x=\"200\" y=\"100\"/></objectgroup>\n"
                           "</map>\n");
    int status = 0;
    std::string output = run("import level.tmx data/level1/", status, dir.path());
    EXPECT_EQ(0, status) << output;
    EXPECT_NE(std::string::npos, output.find("wrote data/level1/level.def, data/level1/level.dat and data/level1/aliens.def"))
        << output;
    std::string aliens;
    FileBytes::read(dir.path() + "/data/level1/aliens.def", aliens);
    EXPECT_EQ("ALIENPROTOS 1\n0 bmp/a.bmp 0 0\nALIENDEF 1\n0 200 84\n", aliens) << output;
}
