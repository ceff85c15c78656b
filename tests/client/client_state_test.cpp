// SPDX-License-Identifier: GPL-2.0-or-later
#include <filesystem>

#include <gtest/gtest.h>

#include "client/client_state.h"
#include "client/startup_checks.h"
#include "fake_time.h"
#include "standin_scenario.h"

namespace {

struct StateLineCase {
    const char* line;
    const char* key;
    const char* value;
};

TEST(StateFileTest, KeyIsTheFirstNineCharactersAndValueStartsAtTheTwelfth) {
    const StateLineCase cases[] = {
        {"Identity   5.1.2.3", "Identity", "5.1.2.3"},
        {"Identity XY5.1.2.3", "Identity", "5.1.2.3"},     // 10th and 11th are skipped
        {"Nickname alice", "Nickname", "ice"},             // one blank loses two letters
        {" Identity  5.1.2.3", "Identity", "5.1.2.3"},     // leading blank trimmed from the key
        {"Nickname      spaced  ", "Nickname", "spaced"},  // value trimmed
        {"\tIdentity  x", "\tIdentity", "x"},              // tabs are not blanks
        {"Nickname", "Nickname", ""},
        {"", "", ""},
    };
    for (const StateLineCase& c : cases) {
        const StateLine split = SplitStateLine(c.line);
        EXPECT_EQ(split.key, c.key) << c.line;
        EXPECT_EQ(split.value, c.value) << c.line;
    }
}

struct ProbeCase {
    const char* probe;
    bool found;
    const char* version;
};

TEST(ProbeTest, VersionIsCutFromTheFirstLineNamingIt) {
    const ProbeCase cases[] = {
        {"banner\nversion  : 0.9.9.9-x\npid      : 1\n", true, "0.9.9.9-x"},
        {"Client version : 1.2 : build 7\n", true, "1.2"},
        {"version: first\nversion: second\n", true, "first"},
        {"version\n", true, ""},
        {"version  :   padded   \n", true, "padded"},
        {"banner\nversion  : on the last line without a line feed", false, ""},
        {"no such line\n", false, ""},
        {"", false, ""},
    };
    for (const ProbeCase& c : cases) {
        std::string version = "before";
        EXPECT_EQ(ProbeVersion(c.probe, &version), c.found) << c.probe;
        EXPECT_EQ(version, c.found ? c.version : "before") << c.probe;
    }
}

TEST(ProbeTest, StatusTextIsTheRestOfTheStatusLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"pid      : 4\nstatus   : logged in\n", "logged in"},
        {"status   :  two blanks\n", "two blanks"},
        {"status   :xlost first\n", "lost first"},  // the character after the colon is skipped
        {"status   : \n", ""},
        {"status   : no line feed", ""},
        {"status   :", ""},
        // without the phrase there is no status to show, not a fragment of the output
        {"Client does not seem to be running.\nstart it\n", "offline"},
        {"", "offline"},
    };
    for (const auto& [probe, status] : cases) EXPECT_EQ(ProbeStatusText(probe), status) << probe;
}

class ClientStateTest : public testing::Test {
  protected:
    void SetUp() override { time.Install(); }
    void TearDown() override {
        time.Uninstall();
        ConfigDirOption.clear();
        CurrentUser.clear();
        ClientIdentity.clear();
        ClientNickname.clear();
        ClientVersion.clear();
    }
    StandinScenario scenario;
    FakeTime time;
};

TEST(ArgumentsTest, ConfigurationDirectoryOption) {
    struct Case {
        std::vector<std::string> args;
        std::string dir;
    };
    const std::vector<Case> cases = {
        {{"corvane", "-c", "/srv/client"}, "/srv/client/"},
        {{"corvane", "-c", "/srv/client/"}, "/srv/client/"},
        {{"corvane", "-c", "relative"}, "relative/"},
        {{"corvane", "-c"}, ""},
        {{"corvane", "-x", "-c", "/srv"}, ""},  // only as the first argument
    };
    for (const Case& c : cases) {
        ConfigDirOption.clear();
        std::vector<char*> argv;
        for (const std::string& arg : c.args) argv.push_back(const_cast<char*>(arg.c_str()));
        ParseArguments(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(ConfigDirOption, c.dir) << c.args.back();
    }
}

TEST_F(ClientStateTest, DefaultDirectoryFollowsUserAndHome) {
    ConfigDirOption.clear();
    CurrentUser = "root";
    ReadClientState();
    EXPECT_EQ(ClientConfigDir, "/root/.hamachi/");
    CurrentUser = "tester";
    ReadClientState();
    EXPECT_EQ(ClientConfigDir, scenario.Home() + "/.hamachi/");
    const std::string home = scenario.Home();
    unsetenv("HOME");
    ReadClientState();
    EXPECT_EQ(ClientConfigDir, "/.hamachi/");
    setenv("HOME", home.c_str(), 1);
}

TEST_F(ClientStateTest, ReadsIdentityNicknameAndVersion) {
    scenario.Configure("x", "y");
    scenario.SetRunning(true);
    ConfigDirOption = scenario.ConfigDir();
    scenario.WriteState(
        "Other      x\r\nIdentity   5.9.8.7\r\n\r\nNickname   m\xE9lanie\rIgnored\n");
    ReadClientState();
    EXPECT_EQ(ClientConfigDir, scenario.ConfigDir());
    EXPECT_EQ(ClientIdentity, "5.9.8.7");
    EXPECT_EQ(ClientNickname, "m\xE9lanie");
    EXPECT_EQ(ClientVersion, "0.9.9.9-standin");
    EXPECT_EQ(scenario.Calls(), std::vector<std::string>{"hamachi"});
}

// A directory named "state" must not stop anything either.
TEST_F(ClientStateTest, UnreadableStateFileAndSilentProbeKeepWhatWasKnown) {
    ConfigDirOption = scenario.ConfigDir();
    std::filesystem::create_directories(scenario.ConfigDir() + "state");
    ClientIdentity = "5.0.0.1";
    ClientNickname = "kept";
    ClientVersion = "1.0";
    scenario.SetAnswer("probe", "");
    ReadClientState();
    EXPECT_EQ(ClientIdentity, "5.0.0.1");
    EXPECT_EQ(ClientNickname, "kept");
    EXPECT_EQ(ClientVersion, "1.0");
}

}  // namespace
