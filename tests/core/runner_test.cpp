// SPDX-License-Identifier: GPL-2.0-or-later
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "client/launcher.h"
#include "client/member_programs.h"
#include "client/shell.h"
#include "common/read_file.h"
#include "core_test.h"
#include "standin_scenario.h"

namespace {

TEST(SplitParametersTest, BlanksSeparateAndDoubleQuotesGroup) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"", {}},
        {"  \t\n ", {}},
        {"-e \"ping 5.1.2.3\"", {"-e", "ping 5.1.2.3"}},
        {"a\tb\nc", {"a", "b", "c"}},
        // an unclosed quote takes the rest of the string
        {"-e \"ping 5.1", {"-e", "ping 5.1"}},
        // a quote inside a word is an ordinary character
        {"it\"s here", {"it\"s", "here"}},
        // text after a closing quote starts a new argument
        {"\"one\"two", {"one", "two"}},
        {"\"\" x", {"", "x"}},
    };
    for (const auto& [parameters, arguments] : cases)
        EXPECT_EQ(SplitParameters(parameters), arguments) << parameters;
}

class RunCommandTest : public testing::Test {
  protected:
    StandinScenario scenario;
    ShellRunner shell;
};

TEST_F(RunCommandTest, ReturnsTheWholeStandardOutputByteForByte) {
    const std::string longLine(5000, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"printf '%s\\n' " + longLine, longLine + "\n"},
        {"printf 'a\\r\\n\\244\\351\\nno end'", "a\r\n\xA4\xE9\nno end"},
        {"true", ""},
        // the shell's complaint goes to standard error, which is not captured
        {"no-such-program-here", ""},
        {"readlink /proc/self/fd/0", "/dev/null\n"},  // nothing to read
    };
    for (const auto& [line, printed] : cases) {
        const CommandOutput out = shell.Run(line);
        EXPECT_TRUE(out.started && !out.cutShort && out.text == printed) << line;
    }
}

// A command line the kernel will not take is not started, no empty success; endless output
// is cut at the bound and read on to its end.
TEST_F(RunCommandTest, HostileCommandsFailOrAreBounded) {
    EXPECT_FALSE(shell.Run("echo '" + std::string(200000, 'x') + "'").started);
    ShellRunner bounded(CommandTimeLimitMs, 1 << 20);
    const CommandOutput endless = bounded.Run("yes | head -c 50000000");
    EXPECT_TRUE(endless.started && !endless.cutShort);
    EXPECT_EQ(endless.text.size(), size_t{1} << 20);
    EXPECT_EQ(endless.text.substr(0, 4), "y\ny\n");
}

// Whatever this process ignores or blocks, commands get the default signal handling.
TEST_F(RunCommandTest, CommandsStartWithDefaultSignals) {
    signal(SIGPIPE, SIG_IGN);
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    sigprocmask(SIG_BLOCK, &blocked, nullptr);
    // Signals 1 to 31: the C library keeps real-time ones of its own.
    const std::string show =
        "for f in SigBlk SigIgn; do echo $f $(( 0x$(sed -n \"s/^$f:\t//p\" "
        "/proc/self/status) & 0x7fffffff )); done";
    const std::string masks = shell.Run(show).text;
    sigprocmask(SIG_UNBLOCK, &blocked, nullptr);
    signal(SIGPIPE, SIG_DFL);
    EXPECT_EQ(masks, "SigBlk 0\nSigIgn 0\n");
}

// Each outlives the limit its own way: cut there with what it printed, its process group gone.
TEST_F(RunCommandTest, CommandPastTheLimitIsEndedWithAllItStarted) {
    constexpr auto Limit = std::chrono::milliseconds(700);
    ShellRunner limited(Limit.count());
    const std::pair<const char*, const char*> cases[] = {
        {"echo first; sleep 30", "first\n"},                    // the command hangs
        {"sleep 30 & echo printed", "printed\n"},               // a child holds the output
        {"echo printed; exec >&-; sleep 30", "printed\n"},      // output closed, still running
        {"trap '' TERM; printf partial; sleep 30", "partial"},  // SIGTERM ignored
        {"sh -c 'sleep 30 & sleep 30' & sleep 30", ""},         // grandchildren
    };
    const std::string groupFile = scenario.Home() + "/group";
    for (const auto& [command, printed] : cases) {
        const auto start = std::chrono::steady_clock::now();
        const CommandOutput out = limited.Run("echo $$ >" + groupFile + "; " + command);
        EXPECT_TRUE(out.cutShort && out.text == printed) << command;
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_TRUE(took >= Limit && took < Limit + std::chrono::seconds(1)) << command;
        const pid_t group = std::stoi(ReadWholeFile(groupFile).value_or("0"));
        // The killed come to us (the scenario's subreaper) to be reaped.
        for (int i = 0; i < 100 && kill(-group, 0) == 0; ++i) {
            while (waitpid(-1, nullptr, WNOHANG) > 0) continue;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_NE(kill(-group, 0), 0) << command;
    }
}

// What a command starts with its output elsewhere (a daemon) is neither awaited nor ended.
TEST_F(RunCommandTest, CommandMayLeaveADaemonBehind) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t daemon = std::atoi(shell.Run("sleep 30 >/dev/null 2>&1 & echo $!").text.c_str());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    ASSERT_GT(daemon, 0);
    EXPECT_EQ(kill(daemon, SIGKILL), 0);
}

class RunnerTest : public CoreTest {};

// A busy runner runs nothing; a command cut at the limit is told.
TEST_F(RunnerTest, BusyRunnerRunsNothingAndACutCommandIsTold) {
    std::string cut;
    Runner.CommandCutShort = [&](const std::string& line) { cut = line; };
    runner.answers["hamachi login"] = {"", true, true};
    RunCommand("hamachi login");
    EXPECT_EQ(cut, "hamachi login");
    Runner.CommandBusy = true;
    EXPECT_FALSE(RunCommand("hamachi stop").started);
    EXPECT_EQ(runner.calls, std::vector<std::string>{"hamachi login"});
}

// Values that would break out of naive quoting reach the client unchanged.
TEST_F(RunCommandTest, QuotedValuesReachTheClientAsOneArgument) {
    scenario.Configure("5.1.2.3", "me");
    scenario.Mark("running", true);
    // clang-format off
    const std::vector<std::string> hostile = {"plain", "it's", "'", "''", "$(touch pwned)",
        "`touch pwned`", "a; touch pwned", "line\nbreak", "-rf", "\xA4\xE9\xFF", "", " spaced  ",
        "\\'\\", "\"double\"", "*"};
    // clang-format on
    for (size_t i = 0; i < hostile.size(); ++i) {
        shell.Run("hamachi set-nick " + ShellQuote(hostile[i]));
        const auto calls = scenario.Invocations();
        ASSERT_EQ(calls.size(), i + 1) << hostile[i];
        EXPECT_EQ(calls[i].args, (std::vector<std::string>{"set-nick", hostile[i]}));
    }
    EXPECT_FALSE(std::filesystem::exists("pwned"));
}

TEST(LaunchProgramTest, AcceptsOnlyNonEmptyExecutableFiles) {
    StandinScenario scenario;
    const std::string bin = scenario.BinDir();
    scenario.AddProgram("runnable", "#!/bin/sh\nexit 0\n");
    scenario.AddProgram("empty", "");
    std::ofstream(bin + "/noexec") << "#!/bin/sh\n";
    std::filesystem::create_directories(bin + "/adir/sub");
    chmod((bin + "/adir").c_str(), 0755);
    scenario.AddProgram("adir/sub/nested", "#!/bin/sh\nexit 0\n");
    const std::string path = GetEnv("PATH");
    const std::pair<std::string, bool> cases[] = {
        {"runnable", true},        {"empty", false},      {"noexec", false},
        {"adir", false},           {"missing", false},    {bin + "/runnable", true},
        {bin + "/missing", false}, {"./runnable", false},  // not searched for on PATH
        {"adir/sub/nested", true},  // a name with a slash is also tried under each PATH element
    };
    for (const auto& [program, runnable] : cases)
        EXPECT_EQ(ProgramRunnable(program), runnable) << program;

    setenv("PATH", ("::" + bin + "/::/usr/bin").c_str(), 1);  // empty elements and a final slash
    EXPECT_TRUE(ProgramRunnable("runnable"));
    unsetenv("PATH");
    EXPECT_FALSE(ProgramRunnable("runnable"));
    EXPECT_FALSE(LaunchProgram("runnable", "", "", true));
    setenv("PATH", path.c_str(), 1);
    EXPECT_FALSE(LaunchProgram("noexec", "x", "", true));
}

// Detached programs leave no zombie; checked in a child, as this process reaps for the fixture.
TEST(LaunchProgramTest, DetachedProgramLeavesNoChildBehind) {
    StandinScenario scenario;
    const std::string out = scenario.Home() + "/args";
    scenario.AddProgram("writer", "#!/bin/sh\ntouch " + out + "\n");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        prctl(PR_SET_CHILD_SUBREAPER, 0);
        const auto started = std::chrono::steady_clock::now();
        if (!LaunchProgram("writer", "", "", false)) _exit(2);
        // returns at once, without waiting for the program
        if (std::chrono::steady_clock::now() - started > std::chrono::seconds(2)) _exit(3);
        for (int i = 0; i < 200 && !std::filesystem::exists(out); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        _exit(waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD ? 0 : 4);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2 not started, 3 waited, 4 child left behind";
}

// Records its arguments in the stand-in's log, as the stand-in does.
std::string Recorder(const std::string& name) {
    return "#!/bin/sh\nr=\"" + name + "\t$#\n\"\nfor a in \"$@\"; do r=\"$r${#a}\t$a\n\"; done\n" +
           "printf %s \"$r\" >> \"$HOME/.hamachi-standin/log\"\n";
}

// The terminal hands its -e argument to a shell: only plain addresses go.
TEST(MemberProgramsTest, LaunchedOnPlainAddressesOnly) {
    StandinScenario scenario;
    std::filesystem::create_directories(scenario.ControlDir());
    for (const char* program : {"xterm", "nautilus"})
        scenario.AddProgram(program, Recorder(program));
    const std::function<void(const std::string&)> launches[] = {
        PingMember, BrowseMember, [](const std::string& a) { ControlMemberPc(a, "vncviewer", ""); },
        [](const std::string& a) { GiveControlToMember(a, "x11vnc", "-connect"); }};
    for (const std::string bad : {"$(id)", "5.1.2.3;id", "`id`", "5.1.2.3 &"}) {
        for (const auto& launch : launches) launch(bad);
    }
    for (const auto& launch : launches) launch("5.1.2.5");
    PingMember("");  // no row selected
    const std::vector<StandinInvocation> expected = {
        {"xterm", {"-T", "Hamachi", "-e", "ping 5.1.2.5"}},
        {"nautilus", {"smb://5.1.2.5"}},
        {"xterm", {"-T", "VNCviewer", "-geometry", "60x5", "-e", "vncviewer  5.1.2.5"}},
        {"xterm", {"-T", "Hamachi", "-e", "x11vnc -connect 5.1.2.5"}},
        {"xterm", {"-T", "Hamachi", "-e", "ping "}}};
    for (int i = 0; i < 200 && scenario.Invocations().size() < expected.size(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const auto calls = scenario.Invocations();  // in any order
    EXPECT_TRUE(std::is_permutation(calls.begin(), calls.end(), expected.begin(), expected.end()))
        << calls.size() << " calls";
}

}  // namespace
