#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "standin_test_util.h"

extern char** environ;

namespace {

TEST(StandinAnswer, CannedBytesReplaceBehaviour) {
    const char raw[] = "line one\n\xE9 no newline at end\0!";
    struct AnswerCase {
        std::string key;
        std::string command;
        bool configured;
        std::string bytes;
    };
    const std::vector<AnswerCase> cases = {
        {"probe", "hamachi", true, std::string(raw, sizeof raw - 1)},
        {"probe", "hamachi", false, "canned\n"},
        {"init", "hamachi-init", false, "canned\n"},
        {"stop", "hamachi stop", true, ""},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.command);
        StandinScenario scenario;
        if (c.configured) {
            scenario.Configure("5.1.2.3", "me");
            scenario.SetRunning(true);
        }
        scenario.SetAnswer(c.key, c.bytes);

        const StandinShellResult result = scenario.RunShellResult(c.command);
        EXPECT_EQ(result.out, c.bytes);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(std::filesystem::exists(scenario.ConfigDir()), c.configured);
        EXPECT_EQ(scenario.ReadConfigFile("running").has_value(), c.configured);
        EXPECT_EQ(scenario.Calls().size(), 1u);
    }
}

TEST(StandinAnswer, ClearedAnswerRestoresBehaviourAndKeysCannotEscape) {
    StandinScenario scenario;
    scenario.Configure("5.1.2.3", "me");
    scenario.SetAnswer("start", "canned\n");
    EXPECT_EQ(scenario.RunShell("hamachi start"), "canned\n");
    scenario.ClearAnswer("start");
    EXPECT_EQ(scenario.RunShell("hamachi start"), "Starting client .. ok\n");

    // A sub-command naming a path must not print files from elsewhere.
    std::filesystem::create_directories(scenario.ControlDir() + "answer/sub");
    std::ofstream(scenario.ControlDir() + "answer/sub/leak") << "leaked\n";
    std::ofstream(scenario.ControlDir() + "secret") << "leaked\n";
    for (const char* key : {"sub/leak", "../secret", ".."}) {
        SCOPED_TRACE(key);
        ExpectPhrases(scenario.RunShell(CommandLine("hamachi", {key})), {"usage"}, {"leaked"});
    }
}

class StandinHang : public ::testing::Test {
  protected:
    void SetUp() override {
        scenario.Configure("5.1.2.3", "me");
        scenario.SetRunning(true);
    }
    void TearDown() override {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    // Starts the command with stdout in Home()/out, without waiting.
    void Spawn(std::vector<std::string> command) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, (scenario.Home() + "/out").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<char*> argv;
        for (std::string& arg : command) argv.push_back(arg.data());
        argv.push_back(nullptr);
        ASSERT_EQ(posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
    }

    // The wait status, or nothing while the command still runs after `limit`.
    std::optional<int> WaitFor(std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (int status = 0;; nanosleep(&kTick, nullptr)) {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return status;
            }
            if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
        }
    }

    void WaitForLog() {
        for (int i = 0; i < 400 && scenario.Calls().empty(); ++i) nanosleep(&kTick, nullptr);
    }

    std::string Out() const { return scenario.RunShell("cat \"$HOME/out\""); }

    static constexpr timespec kTick{0, 5'000'000};
    StandinScenario scenario;
    pid_t pid = -1;
};

TEST_F(StandinHang, WaitsAfterLoggingUntilReleased) {
    scenario.SetHang("login");
    scenario.SetHang("logout");  // only its own key holds a command
    Spawn({"hamachi", "login"});

    WaitForLog();
    EXPECT_FALSE(WaitFor(std::chrono::milliseconds(100)));
    EXPECT_EQ(scenario.Calls(), std::vector<std::string>{"hamachi login"});
    EXPECT_FALSE(scenario.ReadConfigFile("logged-in").has_value());
    EXPECT_EQ(Out(), "");

    scenario.ReleaseHang("login");
    const std::optional<int> status = WaitFor(std::chrono::seconds(2));
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    EXPECT_EQ(Out(), "Logging in .. ok\n");
    EXPECT_TRUE(scenario.ReadConfigFile("logged-in").has_value());
}

TEST_F(StandinHang, TerminatesPromptlyOnSigterm) {
    scenario.SetHang("init");
    Spawn({"hamachi-init"});
    WaitForLog();
    EXPECT_FALSE(WaitFor(std::chrono::milliseconds(100)));
    kill(pid, SIGTERM);
    const std::optional<int> status = WaitFor(std::chrono::seconds(1));
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGTERM);
}

}  // namespace
