#include <filesystem>

#include "standin_test_util.h"

namespace {

// Concurrent calls too: each record is a single write, so none interleave.
TEST(StandinLog, HostileArgumentsArriveByteForByte) {
    // clang-format off
    const std::vector<std::string> args = {
        "it's", "$(touch \"$HOME/pwned\")", "`touch \"$HOME/pwned\"`", "a; touch \"$HOME/pwned\"",
        "two\nlines", "-x", "--help", "\xA4\xE9", "", "tab\there", "  padded  ",
        "\"double\" \\ back", "*", "$HOME", "\r\n", "3\tnot a length"};
    // clang-format on
    StandinScenario scenario;
    scenario.RunShell(CommandLine("hamachi-init", args) + "; for i in $(seq 12); do " +
                      CommandLine("hamachi", args) + " & done; wait");

    std::vector<StandinInvocation> wanted(12, {"hamachi", args});
    wanted.insert(wanted.begin(), {"hamachi-init", args});
    EXPECT_EQ(scenario.Invocations(), wanted);
    EXPECT_FALSE(std::filesystem::exists(scenario.Home() + "/pwned"));
}

}  // namespace
