#include <fstream>
#include <sstream>

#include "standin_test_util.h"

namespace {

// The front-end's reading: between the first and second ':' of the first
// line that mentions "version", trimmed.
std::string VersionOf(const std::string& out) {
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line) && line.find("version") == std::string::npos) {
    }
    std::istringstream fields(line);
    std::string value;
    std::getline(fields, value, ':');
    std::getline(fields, value, ':');
    value.erase(0, value.find_first_not_of(' '));
    return value.erase(value.find_last_not_of(' ') + 1);
}

TEST(StandinProbe, PhrasesMatchEachState) {
    // Every phrase the front-end searches the probe for.
    const std::vector<std::string> phrases = Phrases(
        "Cannot find configuration directory|does not seem to be running|pid|status   :|"
        ": logged in|logged in|offline|command not found|version");
    struct ProbeCase {
        bool configured, running, loggedIn;
        std::string present;  // of the phrases above; all others must be absent
        std::string lines;    // exact lines, besides
    };
    // clang-format off
    const std::vector<ProbeCase> cases = {
        {false, false, false, "Cannot find configuration directory", "Run hamachi-init to create it."},
        {true, false, false, "version|does not seem to be running", "version  : 0.9.9.9-standin"},
        {true, true, false, "version|pid|status   :|offline", "pid      : 4242|status   : offline"},
        {true, true, true, "version|pid|status   :|: logged in|logged in", "status   : logged in"},
    };
    // clang-format on
    for (const ProbeCase& c : cases) {
        SCOPED_TRACE(c.present);
        StandinScenario scenario;
        if (c.configured) {
            // A nickname full of phrases proves the probe does not show it.
            scenario.Configure("5.3.2.1", "offline pid logged in");
            scenario.SetRunning(c.running);
            scenario.SetLoggedIn(c.loggedIn);
        }
        const std::string out = scenario.RunShell("hamachi");
        for (const std::string& phrase : phrases) {
            EXPECT_EQ(Contains(out, phrase), Contains("|" + c.present + "|", "|" + phrase + "|"))
                << phrase << " in:\n"
                << out;
        }
        for (const std::string& line : Phrases(c.lines)) EXPECT_TRUE(Contains(out, line + "\n"));
        if (c.configured) {
            EXPECT_EQ(VersionOf(out), "0.9.9.9-standin") << out;
        }
    }
}

TEST(StandinProbe, VersionFileOverridesDefault) {
    StandinScenario scenario;
    scenario.Configure("5.3.2.1", "bob");
    std::ofstream(scenario.ConfigDir() + "version") << "  2.0.1-test \nignored\n";
    EXPECT_EQ(VersionOf(scenario.RunShell("hamachi")), "2.0.1-test");
}

}  // namespace
