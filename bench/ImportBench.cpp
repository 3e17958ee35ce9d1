#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "WorstMaps.h"
#include "headless/TempDir.h"

// The level tool on the costliest files within its budgets and just past them, each of at most 20 MB: every
// import or check is to end within 10 s. The files are made once, on the first run, which takes a while.
namespace {

const std::vector<WorstMaps::Case>& cases(TempDir& dir)
{
    static const std::vector<WorstMaps::Case> all = WorstMaps::write(dir);
    return all;
}

void BM_WorstFile(benchmark::State& state)
{
    static TempDir dir;
    const std::vector<WorstMaps::Case>& all = cases(dir);
    if (static_cast<size_t>(state.range(0)) >= all.size()) {
        state.SkipWithError("no such case");
        return;
    }
    const WorstMaps::Case& test = all[static_cast<size_t>(state.range(0))];
    state.SetLabel(test.name);
    const std::string out = dir.path() + "/out";
    long peak = 0;
    for (auto _ : state) {
        pid_t child = fork();
        if (child == 0) {
            int nothing = open("/dev/null", O_WRONLY);
            dup2(nothing, 1);
            dup2(nothing, 2);
            execl(SKIFF_LEVEL_PROGRAM, "skiff-level", test.command.c_str(), test.path.c_str(),
                  test.command == "import" ? out.c_str() : (char*)nullptr, (char*)nullptr);
            _exit(127);
        }
        int status = 0;
        struct rusage usage = {};
        if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != test.status) {
            state.SkipWithError("the tool did not end as it should");
            return;
        }
        peak = usage.ru_maxrss;
        state.PauseTiming();
        // An import that succeeds leaves its level; the next one would be refused for it.
        std::string remove = "rm -rf '" + out + "'";
        if (system(remove.c_str()) != 0)
            state.SkipWithError("could not remove the level made");
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = static_cast<double>(peak) / 1024.0;
}

}

BENCHMARK(BM_WorstFile)->DenseRange(0, WorstMaps::Count - 1)->Unit(benchmark::kMillisecond)->UseRealTime();
