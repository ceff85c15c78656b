// Times rebuilding the roster tree and its first paint for large rosters.
//   roster_bench [repetitions]      (needs an X display)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "client/roster.h"
#include "common/identifiers.h"
#include "mainwindow/main_window.h"
#include "toolkit/toolkit.h"

namespace {

using Clock = std::chrono::steady_clock;

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

// Rebuild, then let GTK lay out and paint everything that is pending.
double TimeRebuild(const std::string& out) {
    const auto start = Clock::now();
    RebuildRoster(out);
    HandlePendingWindowEvents();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
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

    struct Size {
        int networks, members;
    };
    const Size sizes[] = {{10, 99}, {100, 256}, {400, 256}};
    std::printf("%8s %10s %12s %12s\n", "rows", "networks", "median ms", "best ms");
    double base = 0;
    for (const Size& size : sizes) {
        std::vector<double> times;
        for (int r = 0; r < repetitions; ++r) {
            // a different output each time, so every refresh is a real rebuild
            times.push_back(TimeRebuild(ListOutput(size.networks, size.members, r)));
        }
        const int rows = size.networks * (size.members + 1);
        if (std::getenv("ROSTER_BENCH_ALL")) {
            for (double t : times) std::printf(" %.1f", t);
            std::printf("\n");
        }
        const double median = Median(times);
        std::printf("%8d %10d %12.1f %12.1f\n", rows, size.networks, median,
                    *std::min_element(times.begin(), times.end()));
        if (rows == 25700) base = median;
        if (rows == 102800 && base > 0) {
            std::printf("4x rows take %.2fx the time\n", median / base);
        }
    }
    return 0;
}
