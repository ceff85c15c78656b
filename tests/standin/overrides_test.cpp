#include <filesystem>

#include "standin_test_util.h"

namespace {

TEST(StandinOverrides, AnswerPrintsItsBytesAndChangesNothing) {
    const char raw[] = "line one\n\xE9 no newline at end\0!";
    struct AnswerCase {
        std::string state, key, command, bytes;
    };
    const std::vector<AnswerCase> cases = {
        {"in", "probe", "hamachi", std::string(raw, sizeof raw - 1)},
        {"none", "init", "hamachi-init", "canned\n"},
        {"in", "stop", "hamachi stop", ""}};
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.command + " when " + c.state);
        StandinScenario scenario;
        PutInState(scenario, c.state);
        scenario.SetAnswer(c.key, c.bytes);

        int exitCode = -1;
        EXPECT_EQ(scenario.RunShell(c.command, &exitCode), c.bytes);
        EXPECT_EQ(exitCode, 0);
        EXPECT_EQ(scenario.Calls(), std::vector<std::string>{c.command});
        std::filesystem::remove(scenario.ControlDir() + "answer/" + c.key);
        EXPECT_EQ(ProbedState(scenario), c.state);
    }
}

// A hung command is logged, then waits until its hang file goes and carries
// on; SIGTERM ends it at once.
TEST(StandinOverrides, HangWaitsUntilReleasedOrTerminated) {
    StandinScenario scenario;
    PutInState(scenario, "out");
    const std::string out = scenario.RunShell(
        "C=\"$HOME/.hamachi-standin\"; mkdir -p \"$C/hang\"\n"
        "touch \"$C/hang/login\" \"$C/hang/init\"\n"
        "waitlog() { for i in $(seq 200); do grep -q $1 \"$C/log\" 2>/dev/null &&\n"
        "  { sleep 0.2; return; }; sleep 0.02; done; echo unlogged; }\n"
        "hamachi login & waitlog login; test -e \"$HOME/.hamachi/logged-in\" || echo held\n"
        "rm \"$C/hang/login\"; wait $!\n"
        "hamachi-init & waitlog init; kill $!; sleep 0.3; rm \"$C/hang/init\"; wait $!; echo $?");
    EXPECT_EQ(out, "held\nLogging in .. ok\n143\n");
    EXPECT_EQ(ProbedState(scenario), "in");
}

}  // namespace
