#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "headless/TempDir.h"

// A TMPDIR longer than any fixed buffer of the past: the scratch directory is made inside it,
// holds nested files, and goes with all of them.
TEST(TempDir, AScratchDirectoryUnderATmpdirOfOver512CharactersIsMadeInsideItAndRemovedWhole)
{
    TempDir outer;
    const std::string base =
        outer.path() + "/" + std::string(200, 'a') + "/" + std::string(200, 'b') + "/" + std::string(200, 'c');
    ASSERT_GT(base.size(), 600u);
    ASSERT_TRUE(std::filesystem::create_directories(base));
    const char* saved = getenv("TMPDIR");
    const std::string previous = saved ? saved : "";
    setenv("TMPDIR", base.c_str(), 1);
    std::string made;
    {
        TempDir dir;
        made = dir.path();
        std::filesystem::create_directories(made + "/level0/bmp");
        dir.write("level0/bmp/alien.bmp", "BM");
        EXPECT_TRUE(std::filesystem::is_regular_file(made + "/level0/bmp/alien.bmp"));
    }
    if (saved)
        setenv("TMPDIR", previous.c_str(), 1);
    else
        unsetenv("TMPDIR");
    EXPECT_EQ(base + "/", made.substr(0, base.size() + 1));
    EXPECT_FALSE(std::filesystem::exists(made));
    EXPECT_TRUE(std::filesystem::is_directory(base));
}
