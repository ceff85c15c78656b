// Suites here are named Tuncfg* so that CTest runs them under the tuncfg lock.
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "standin_test_util.h"

namespace {

namespace fs = std::filesystem;

// The front-end looks for the daemon with "ps -A |grep tuncfg"; StartTuncfg
// fails unless the starter returns at once.
TEST(TuncfgDaemon, DetachesStaysListedAndEndsWithItsControlFolder) {
    StandinScenario scenario;
    const pid_t pid = scenario.StartTuncfg();
    EXPECT_EQ(scenario.Calls(), std::vector<std::string>{"tuncfg"});
    EXPECT_EQ(getsid(pid), pid);
    // Inherited pipes held open would keep whoever started it waiting.
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd/";
    for (const char* fd : {"0", "1", "2"}) EXPECT_EQ(fs::read_symlink(fds + fd), "/dev/null");
    EXPECT_EQ(std::distance(fs::directory_iterator(fds), fs::directory_iterator()), 3);
    const std::string listed = "ps -A | grep tuncfg | awk '$1 == " + std::to_string(pid) + "'";
    EXPECT_NE(scenario.RunShell(listed), "");

    fs::remove_all(scenario.ControlDir());
    bool gone = false;  // reaped here, as we are its subreaper
    for (int i = 0; i < 250 && !gone; ++i) {
        gone = waitpid(pid, nullptr, WNOHANG) == pid || kill(pid, 0) != 0;
        usleep(10'000);
    }
    EXPECT_TRUE(gone);
    if (!gone) kill(pid, SIGKILL);
    EXPECT_EQ(scenario.RunShell(listed), "") << "not even as a defunct entry";
}

}  // namespace
