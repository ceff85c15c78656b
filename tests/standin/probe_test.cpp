#include <algorithm>
#include <filesystem>

#include "standin_test_util.h"

namespace {

// Every phrase the front-end searches the probe for is either present or
// absent; the version is read from the first line that mentions it.
TEST(StandinProbe, PhrasesMatchEachState) {
    struct ProbeCase {
        std::string state, present, absent;
    };
    // clang-format off
    const std::vector<ProbeCase> cases = {
        {"none", "Cannot find configuration directory", "does not seem to be running|pid|status   :|logged in|offline|command not found|version"},
        {"stopped", "version  : 0.9.9.9-standin\n|does not seem to be running", "Cannot find configuration directory|pid|status   :|logged in|offline|command not found"},
        {"out", "version  : 0.9.9.9-standin\n|pid      : 4242\n|status   : offline\n", "Cannot find configuration directory|does not seem to be running|logged in|command not found"},
        {"in", "version  : 0.9.9.9-standin\n|pid      : 4242\n|status   : logged in\n", "Cannot find configuration directory|does not seem to be running|offline|command not found"}};
    // clang-format on
    for (const ProbeCase& c : cases) {
        SCOPED_TRACE(c.state);
        StandinScenario scenario;
        PutInState(scenario, c.state);
        // A nickname full of phrases proves the probe does not show it.
        if (c.state != "none") scenario.Configure("5.3.2.1", "offline pid logged in version");
        const std::string out = scenario.RunShell("hamachi");
        ExpectPhrases(out, c.present, c.absent);
        EXPECT_EQ(out.find("version"), out.find("version  :")) << out;
    }
}

TEST(StandinInit, CreatesPrivateFolderOnceWithIdentityAndNickname) {
    StandinScenario scenario;
    EXPECT_TRUE(scenario.RunShell("USER=carol hamachi-init").ends_with(".. ok\n"));
    EXPECT_EQ(std::filesystem::status(scenario.ConfigDir()).permissions(),
              std::filesystem::perms::owner_all);
    const std::string state = scenario.ReadConfigFile("state").value_or("");
    // "5." and three more numbers
    const std::string identity = state.substr(0, state.find('\n'));
    EXPECT_TRUE(identity.starts_with("Identity   5.")) << state;
    EXPECT_EQ(std::count(identity.begin(), identity.end(), '.'), 3) << state;
    EXPECT_EQ(identity.find_first_not_of("0123456789.", 11), std::string::npos) << state;
    EXPECT_TRUE(state.ends_with("\nNickname   carol\n")) << state;
    EXPECT_EQ(ProbedState(scenario), "stopped");
    // A second run leaves the folder alone.
    int exitCode = -1;
    ExpectPhrases(scenario.RunShell("hamachi-init", &exitCode), "exists", "ok");
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(scenario.ReadConfigFile("state"), state);
}

}  // namespace
