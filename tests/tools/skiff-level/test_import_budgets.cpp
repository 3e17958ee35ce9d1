#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "bench/WorstMaps.h"
#include "headless/TempDir.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
const bool MemoryIsMeasurable = false;  // the sanitizer's shadow memory would be counted with the tool's
#else
const bool MemoryIsMeasurable = true;
#endif

const long MaxPeakKilobytes = 512 * 1024;

// Runs the level tool on a case, its output thrown away; its exit status, and its peak memory in peak.
int run(const WorstMaps::Case& test, const std::string& out, long& peak)
{
    pid_t child = fork();
    if (child == 0) {
        int nothing = open("/dev/null", O_WRONLY);
        dup2(nothing, 1);
        dup2(nothing, 2);
        if (test.command == "import")
            execl(SKIFF_LEVEL_PROGRAM, "skiff-level", "import", test.path.c_str(), out.c_str(), (char*)nullptr);
        else
            execl(SKIFF_LEVEL_PROGRAM, "skiff-level", "check", test.path.c_str(), (char*)nullptr);
        _exit(127);
    }
    int status = 0;
    struct rusage usage = {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child)
        return -1;
    peak = usage.ru_maxrss;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}

// The costliest maps and levels within the tool's budgets, and some just past them, each imported or
// checked by the tool itself: it ends as the case says, having held less than 512 MB at its peak.
TEST(ImportBudgets, TheCostliestFilesImportOrAreRefusedWithinHalfAGigabyte)
{
    if (!MemoryIsMeasurable)
        GTEST_SKIP() << "memory is measured on the plain build";
    TempDir dir;
    int made = 0;
    const std::vector<WorstMaps::Case> cases = WorstMaps::write(dir);
    ASSERT_EQ(static_cast<size_t>(WorstMaps::Count), cases.size());
    for (const WorstMaps::Case& test : cases) {
        SCOPED_TRACE(test.name);
        long peak = 0;
        EXPECT_EQ(test.status, run(test, dir.path() + "/out" + std::to_string(made++), peak));
        EXPECT_LT(peak, MaxPeakKilobytes);
        printf("%-60s %4ld MB\n", test.name.c_str(), peak / 1024);
    }
}
