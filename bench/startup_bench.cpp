// How long `qasp` takes to start and end when it has nothing to do
// (`qasp --version`), and to open the demo project's tree: the cost every
// command pays before its own work. The goal is 5 ms for the first.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <fcntl.h>
#include <unistd.h>

#include <vector>

extern char **environ;

namespace {

// Runs the program with `args`, its output thrown away; false when it could
// not be run or failed.
bool Run(std::vector<const char *> args)
{
    args.insert(args.begin(), QASP_PROGRAM);
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, QASP_PROGRAM, &actions, nullptr, const_cast<char **>(args.data()), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_StartAndEnd(benchmark::State &state)
{
    for (auto _ : state)
        if (!Run({"--version"}))
            state.SkipWithError("qasp --version failed");
}
BENCHMARK(BM_StartAndEnd)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DemoTree(benchmark::State &state)
{
    for (auto _ : state)
        if (!Run({"tree", QASP_DEMO}))
            state.SkipWithError("qasp tree failed");
}
BENCHMARK(BM_DemoTree)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
