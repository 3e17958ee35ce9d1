#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "core/FileBytes.h"
#include "headless/TempDir.h"

TEST(FileBytes, AWriteThatFailsLeavesWhatStoodAtThePathAsItWasAndNothingBesideIt)
{
    struct rlimit usual;
    ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &usual));
    // A file size limit stands in for a full disk: writes beyond it fail, their signal ignored.
    const struct {
        const char* what;
        bool directory;  // a directory stands at the path, else a file holding "old"
        rlim_t sizeLimit;
    } cases[] = {
        {"a directory in the way", true, usual.rlim_cur},
        {"a full disk", false, 1024},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        TempDir dir;
        const std::string path = dir.path() + "/level.dat";
        std::error_code failed;
        if (test.directory)
            std::filesystem::create_directory(path, failed);
        else
            dir.write("level.dat", "old");
        struct rlimit limit = {test.sizeLimit, usual.rlim_max};
        void (*handler)(int) = signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        bool written = FileBytes::write(path, std::string(4096, 'x'));
        setrlimit(RLIMIT_FSIZE, &usual);
        signal(SIGXFSZ, handler);

        EXPECT_FALSE(written);
        std::string left;
        EXPECT_EQ(test.directory, std::filesystem::is_directory(path, failed));
        EXPECT_EQ(!test.directory, FileBytes::read(path, left) && left == "old") << left.size() << " bytes";
        int entries = 0;
        for (std::filesystem::directory_iterator it(dir.path(), failed), end; it != end; it.increment(failed))
            ++entries;
        EXPECT_EQ(1, entries);
    }
}

TEST(FileBytes, AWriteThroughALinkReplacesTheFileItNamesAndKeepsTheLink)
{
    TempDir dir;
    dir.write("level.def", "old");
    std::error_code failed;
    std::filesystem::create_symlink("level.def", dir.path() + "/link.def", failed);
    ASSERT_TRUE(FileBytes::write(dir.path() + "/link.def", "new"));
    std::string made;
    EXPECT_TRUE(FileBytes::read(dir.path() + "/level.def", made));
    EXPECT_EQ("new", made);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() + "/link.def", failed));
}
