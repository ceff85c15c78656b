#include <fstream>

#include "client/client_state.h"
#include "client/roster.h"
#include "client/startup.h"
#include "mainwindow/identifiers.h"
#include "program_test.h"

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

class ClientStateTest : public ProgramTest {};

TEST_F(ClientStateTest, ConfigurationDirectoryOption) {
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
    RunningClient(true);
    OpenMain();
    scenario.WriteState(
        "Other      x\r\nIdentity   5.9.8.7\r\n\r\nNickname   m\xE9lanie\rIgnored\n");
    ReadClientState();
    EXPECT_EQ(ClientConfigDir, scenario.ConfigDir());
    EXPECT_EQ(ClientIdentity, "5.9.8.7");
    EXPECT_EQ(ClientNickname, "m\xE9lanie");
    EXPECT_EQ(GadgetText(GadgetIdentity), "5.9.8.7");
    EXPECT_EQ(GadgetText(GadgetStatus), "m\xE9lanie");
    EXPECT_FALSE(ClientVersion.empty());
    EXPECT_EQ(scenario.Calls(), std::vector<std::string>{"hamachi"});
}

TEST_F(ClientStateTest, MissingStateFileAndSilentProbeKeepWhatWasKnown) {
    RunningClient(true);
    OpenMain();
    ClientIdentity = "5.0.0.1";
    ClientNickname = "kept";
    ClientVersion = "1.0";
    SetGadgetText(GadgetIdentity, "5.0.0.1");
    scenario.Unconfigure();
    scenario.SetAnswer("probe", "");
    ReadClientState();
    EXPECT_EQ(ClientIdentity, "5.0.0.1");
    EXPECT_EQ(ClientNickname, "kept");
    EXPECT_EQ(ClientVersion, "1.0");
    EXPECT_EQ(GadgetText(GadgetIdentity), "5.0.0.1");
}

TEST_F(ClientStateTest, OffAndOnLooks) {
    RunningClient(true);
    scenario.AddNetwork("alpha", true, true);
    OpenMain();
    RefreshRoster();
    ASSERT_GT(TreeRowCount(GadgetRoster), 0);

    ShowClientState("off");
    EXPECT_EQ(GadgetText(GadgetStatus), "offline");
    for (int gadget : {GadgetIdentity, GadgetRoster, GadgetNetworks, GadgetSettings}) {
        EXPECT_FALSE(GadgetSensitive(gadget)) << gadget;
    }
    EXPECT_TRUE(GadgetSensitive(GadgetLogin));
    EXPECT_EQ(TreeRowCount(GadgetRoster), 0);
    EXPECT_EQ(LastListOutput, "");

    scenario.Configure(Identity, "renamed");
    scenario.ClearLog();
    ShowClientState("on");
    for (int gadget : {GadgetIdentity, GadgetRoster, GadgetNetworks, GadgetSettings}) {
        EXPECT_TRUE(GadgetSensitive(gadget)) << gadget;
    }
    EXPECT_EQ(GadgetText(GadgetStatus), "renamed");
    EXPECT_EQ(scenario.Calls(), std::vector<std::string>{"hamachi"});
}

}  // namespace
