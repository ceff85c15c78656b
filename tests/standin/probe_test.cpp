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

}  // namespace
