// SPDX-License-Identifier: GPL-2.0-or-later
// Times what the roster and the command runner cost:
//   roster_bench [repetitions]      (needs an X display)
// - rebuilding the roster tree and its first paint for large rosters;
// - an unchanged refresh against one bare run of "hamachi list";
// - RunCommand reading 10 and 40 MB (16 MiB kept) against cat through a pipe.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "client/roster.h"
#include "client/runner.h"
#include "client/shell.h"
#include "mainwindow/main_window.h"
#include "mainwindow/roster_view.h"
#include "toolkit/inspect.h"

namespace {

using Clock = std::chrono::steady_clock;

// The runner's fixed 100 ms waits are counted apart.
class NoWaits final : public ::Clock {
  public:
    int64_t NowMs() override { return 0; }
    void Pause(int) override {}
};

// A list output of `networks` networks with `members` members each.
std::string ListOutput(int networks, int members, int salt) {
    std::string out;
    char line[96];
    for (int n = 0; n < networks; ++n) {
        std::snprintf(line, sizeof line, "%s[network-%03d-%d]\n", n % 3 ? "   " : " * ", n, salt);
        out += line;
        for (int m = 0; m < members; ++m) {
            const char mark = m % 5 == 0 ? 'X' : m % 2 ? '*' : ' ';
            std::snprintf(line, sizeof line, "    %c  5.%d.%d.%-10d member-%d-%d\n", mark, n % 250,
                          m / 250, m % 250, n, m);
            out += line;
        }
    }
    return out;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median of `repetitions` runs of `work`, in milliseconds.
double MedianMs(int repetitions, const std::function<void(int)>& work) {
    std::vector<double> times;
    for (int r = 0; r < repetitions; ++r) {
        const auto start = Clock::now();
        work(r);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return Median(times);
}

void RebuildTimes(int repetitions) {
    struct Size {
        int networks, members;
    };
    const Size sizes[] = {{10, 99}, {100, 256}, {400, 256}};
    std::printf("roster rebuild and first paint:\n%8s %12s\n", "rows", "median ms");
    double base = 0;
    for (const Size& size : sizes) {
        std::vector<double> times;
        for (int r = 0; r < repetitions; ++r) {
            // a different output each time, so every rebuild is a real one
            const std::string output = ListOutput(size.networks, size.members, r);
            times.push_back(MedianMs(1, [&](int) {
                ShowRoster(ParseRoster(output));
                HandlePendingWindowEvents();
            }));
        }
        const double median = Median(times);
        const int rows = size.networks * (size.members + 1);
        std::printf("%8d %12.1f\n", rows, median);
        if (rows == 25700) base = median;
        if (rows == 102800) std::printf("4x the rows take %.2fx the time\n", median / base);
    }
}

// A logged-in client of the stand-in with 100 rows, in a home of its own.
std::string StandinHome() {
    char path[] = "/tmp/corvane-bench-XXXXXX";
    const std::string home = mkdtemp(path);
    std::filesystem::create_directories(home + "/.hamachi");
    std::ofstream(home + "/.hamachi/state") << "Identity   5.71.20.14\nNickname   bench\n";
    std::ofstream(home + "/.hamachi/running") << "4242\n";
    std::ofstream(home + "/.hamachi/logged-in");
    std::ofstream networks(home + "/.hamachi/networks");
    for (int n = 0; n < 10; ++n) {
        networks << "network\tnet-" << n << "\tonline\t\n";
        for (int m = 0; m < 9; ++m) networks << "member\t5.0." << n << "." << m << "\tm\tonline\n";
    }
    setenv("HOME", home.c_str(), 1);
    setenv("PATH", (std::string(STANDIN_BIN_DIR ":") + std::getenv("PATH")).c_str(), 1);
    return home;
}

// A shell command timed against the program's own; its failure would make the
// comparison meaningless.
void Shell(const std::string& command) {
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "roster_bench: %s failed\n", command.c_str());
}

void RefreshTimes(int repetitions) {
    const std::string home = StandinHome();
    NoWaits noWaits;
    Runner.Time = &noWaits;
    UpdateRoster();
    const double refresh = MedianMs(repetitions, [](int) { UpdateRoster(); });
    const double bare = MedianMs(repetitions, [](int) { Shell("hamachi list >/dev/null"); });
    Runner.Time = nullptr;
    std::printf(
        "unchanged refresh of %d rows: %.2f ms; one bare \"hamachi list\": %.2f ms "
        "(%.2fx), plus the runner's fixed wait of 100 ms\n",
        TreeRowCount(GadgetRoster), refresh, bare, refresh / bare);
    std::filesystem::remove_all(home);
}

void ReadTimes(int repetitions) {
    std::printf("reading a command's output (MB/s):\n%6s %12s %20s %8s\n", "MB", "RunCommand",
                "cat | cat >/dev/null", "ratio");
    for (int mb : {10, 40}) {
        const std::string file = "/tmp/corvane-bench-" + std::to_string(getpid());
        std::ofstream(file) << std::string(size_t(mb) << 20, 'x');
        size_t got = 0;
        const double ours =
            MedianMs(repetitions, [&](int) { got = RunCommandAtOnce("cat " + file).text.size(); });
        const double cat = MedianMs(
            repetitions, [&](int) { Shell("cat " + file + " | cat >/dev/null"); });
        std::remove(file.c_str());
        // What passes the runner's bound is read and dropped.
        if (got != std::min(size_t(mb) << 20, OutputLimitBytes)) {
            std::printf("RunCommand returned %zu bytes\n", got);
        }
        std::printf("%6d %12.0f %20.0f %8.2f\n", mb, mb / ours * 1000, mb / cat * 1000, cat / ours);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::atoi(argv[1]) : 7;
    if (!InitToolkit(&argc, &argv)) {
        std::fprintf(stderr, "roster_bench: no X display\n");
        return 1;
    }
    RegisterImages();
    if (!OpenMainWindow()) return 1;
    HandlePendingWindowEvents();
    RebuildTimes(repetitions);
    RefreshTimes(repetitions * 3);
    ReadTimes(repetitions);
    return 0;
}
