#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

#include "headless/ScratchFiles.h"

namespace {

// Runs skiff-level with arguments; its standard output, and its exit status in status.
std::string run(const std::string& arguments, int& status)
{
    FILE* pipe = popen((std::string(SKIFF_LEVEL_PROGRAM) + " " + arguments + " 2>&1").c_str(), "r");
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
    EXPECT_NE(std::string::npos, output.find(dir.path() + "/level.dat: error: is missing")) << output;
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
