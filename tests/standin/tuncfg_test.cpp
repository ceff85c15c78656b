// Suites here are named Tuncfg* so that CTest runs them under the tuncfg lock.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "standin_test_util.h"

namespace {

namespace fs = std::filesystem;

// State and session from /proc/PID/stat; the command name may hold blanks,
// so fields are counted from its closing parenthesis.
std::optional<std::pair<char, pid_t>> StateAndSession(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.rfind(')') == std::string::npos) return std::nullopt;
    char state = '?';
    pid_t parent = 0, group = 0, session = 0;
    std::istringstream(text.substr(text.rfind(')') + 1)) >> state >> parent >> group >> session;
    return std::make_pair(state, session);
}

// Gone or a zombie; a zombie of ours (we are the subreaper) is reaped.
bool WaitExited(pid_t pid, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const auto stat = StateAndSession(pid);
        if (!stat || stat->first == 'Z') {
            waitpid(pid, nullptr, WNOHANG);
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) return false;
        const timespec tick{0, 10'000'000};
        nanosleep(&tick, nullptr);
    }
}

bool PsLists(const StandinScenario& scenario, pid_t pid) {
    std::istringstream lines(scenario.RunShell("ps -A | grep tuncfg"));
    for (std::string line; std::getline(lines, line);) {
        pid_t listed = 0;
        if (std::istringstream(line) >> listed && listed == pid) return true;
    }
    return false;
}

TEST(TuncfgDaemon, DetachesAndStaysListedUntilStopped) {
    StandinScenario scenario;
    // The starter returns at once, so a terminal that ran it can close.
    EXPECT_EQ(scenario.RunShell("timeout 5 tuncfg --up 'a b' >/dev/null 2>&1; echo $?"), "0\n");
    EXPECT_EQ(scenario.Invocations(),
              (std::vector<StandinInvocation>{{"tuncfg", {"--up", "a b"}}}));

    const pid_t pid = scenario.StartTuncfg();
    EXPECT_EQ(StateAndSession(pid).value_or(std::make_pair('?', 0)).second, pid);
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd/";
    for (const char* fd : {"0", "1", "2"}) EXPECT_EQ(fs::read_symlink(fds + fd), "/dev/null");
    EXPECT_EQ(std::distance(fs::directory_iterator(fds), fs::directory_iterator()), 3);
    EXPECT_TRUE(PsLists(scenario, pid));

    scenario.StopTuncfg();
    EXPECT_TRUE(WaitExited(pid, std::chrono::milliseconds(0)));
    EXPECT_FALSE(PsLists(scenario, pid)) << "not even as a defunct entry";
}

TEST(TuncfgDaemon, ExitsOnSigint) {
    StandinScenario scenario;
    const pid_t pid = scenario.StartTuncfg();
    kill(pid, SIGINT);
    EXPECT_TRUE(WaitExited(pid, std::chrono::seconds(1)));
}

TEST(TuncfgDaemon, ExitsWhenControlFolderIsRemoved) {
    StandinScenario scenario;
    const pid_t pid = scenario.StartTuncfg();
    fs::remove_all(scenario.ControlDir());
    EXPECT_TRUE(WaitExited(pid, std::chrono::milliseconds(2500)));
}

}  // namespace
