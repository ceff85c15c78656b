#include <filesystem>
#include <fstream>
#include <sstream>

#include "standin_test_util.h"

namespace {

std::string ReadLog(const StandinScenario& scenario) {
    std::ifstream in(scenario.ControlDir() + "log", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(StandinLog, HostileArgumentsArriveByteForByte) {
    StandinScenario scenario;
    const std::vector<std::string> args = {
        "it's",
        "$(touch \"$HOME/pwned\")",
        "`touch \"$HOME/pwned\"`",
        "a; touch \"$HOME/pwned\"",
        "two\nlines",
        "-x",
        "--help",
        "\xA4\xE9",
        "",
        "tab\there",
        "  padded  ",
        "\"double\" \\ back",
        "*",
        "$HOME",
        "\r\n",
        "3\tnot a length",
    };
    for (const char* program : {"hamachi", "hamachi-init", "hamachi"}) {
        scenario.RunShell(CommandLine(program, args));
    }

    const std::vector<StandinInvocation> calls = scenario.Invocations();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], (StandinInvocation{"hamachi", args}));
    EXPECT_EQ(calls[1], (StandinInvocation{"hamachi-init", args}));
    EXPECT_EQ(calls[2], (StandinInvocation{"hamachi", args}));
    EXPECT_FALSE(std::filesystem::exists(scenario.Home() + "/pwned"));
}

TEST(StandinLog, RecordFormatIsLengthPrefixed) {
    StandinScenario scenario;
    scenario.RunShell("hamachi join '' 'a\tb'; hamachi");
    EXPECT_EQ(ReadLog(scenario), "hamachi\t3\n4\tjoin\n0\t\n3\ta\tb\nhamachi\t0\n");
    EXPECT_EQ(scenario.Calls(), (std::vector<std::string>{"hamachi join  a\tb", "hamachi"}));

    scenario.ClearLog();
    EXPECT_TRUE(scenario.Invocations().empty());
}

TEST(StandinLog, ConcurrentCallsNeverInterleave) {
    StandinScenario scenario;
    scenario.Configure("5.1.1.1", "someone");
    scenario.SetRunning(true);
    scenario.RunShell(
        "for i in 1 2 3 4 5 6 7 8 9 10 11 12; do hamachi set-nick \"n$i\" >/dev/null & done; wait");

    const std::vector<StandinInvocation> calls = scenario.Invocations();
    ASSERT_EQ(calls.size(), 12u);
    for (const StandinInvocation& call : calls) {
        ASSERT_EQ(call.args.size(), 2u);
        EXPECT_EQ(call.args[0], "set-nick");
    }
    // Whichever rename won, the state file is whole.
    const std::string state = scenario.ReadConfigFile("state").value_or("");
    EXPECT_EQ(state.rfind("Identity   5.1.1.1\nNickname   n", 0), 0u) << state;
}

}  // namespace
