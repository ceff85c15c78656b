#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include "standin_test_util.h"

namespace {

TEST(StandinInit, CreatesPrivateFolderWithIdentityAndNickname) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"USER=carol", "carol"}, {"-u USER", "anonymous"}, {"USER=", "anonymous"}};
    for (const auto& [environment, nickname] : cases) {
        SCOPED_TRACE(environment);
        StandinScenario scenario;
        const std::string out = scenario.RunShell("env " + environment + " hamachi-init");
        EXPECT_TRUE(out.ends_with(".. ok\n")) << out;

        struct stat info {};
        ASSERT_EQ(stat(scenario.ConfigDir().c_str(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        const std::string state = scenario.ReadConfigFile("state").value_or("");
        const std::string head = "Identity   5.", tail = "\nNickname   " + nickname + "\n";
        ASSERT_TRUE(state.starts_with(head) && state.ends_with(tail)) << state;
        const std::string rest =
            state.substr(head.size(), state.size() - head.size() - tail.size());
        EXPECT_EQ(std::count(rest.begin(), rest.end(), '.'), 2) << rest;
        EXPECT_EQ(rest.find_first_not_of("0123456789."), std::string::npos) << rest;
        ExpectPhrases(scenario.RunShell("hamachi"), {"does not seem to be running"},
                      {"Cannot find configuration directory"});
    }
}

TEST(StandinInit, LeavesExistingFolderAlone) {
    StandinScenario scenario;
    scenario.Configure("5.1.2.3", "keep me");
    const StandinShellResult result = scenario.RunShellResult("hamachi-init");
    ExpectPhrases(result.out, {"exists"}, {".. ok"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(scenario.ReadConfigFile("state"), "Identity   5.1.2.3\nNickname   keep me\n");
}

TEST(StandinInit, FailsWhenAFileIsInTheWay) {
    StandinScenario scenario;
    std::ofstream(scenario.Home() + "/.hamachi") << "not a folder";
    const StandinShellResult result = scenario.RunShellResult("hamachi-init 2>/dev/null");
    ExpectPhrases(result.out, {"failed"}, {"ok"});
    EXPECT_EQ(result.exitCode, 1);
}

}  // namespace
