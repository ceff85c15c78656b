// SPDX-License-Identifier: GPL-2.0-or-later
#include <filesystem>

#include <gtest/gtest.h>

#include "client/client_state.h"
#include "core_test.h"
#include "standin_scenario.h"

namespace {

TEST(StateFileTest, KeyIsTheFirstNineCharactersAndValueStartsAtTheTwelfth) {
    const std::pair<const char*, const char*> cases[] = {
        {"Identity   5.1.2.3", "Identity|5.1.2.3"},
        {"Identity XY5.1.2.3", "Identity|5.1.2.3"},     // 10th and 11th are skipped
        {"Nickname alice", "Nickname|ice"},             // one blank loses two letters
        {" Identity  5.1.2.3", "Identity|5.1.2.3"},     // leading blank trimmed from the key
        {"Nickname      spaced  ", "Nickname|spaced"},  // value trimmed
        {"\tIdentity  x", "\tIdentity|x"},              // tabs are not blanks
        {"Nickname", "Nickname|"},
        {"", "|"},
    };
    for (const auto& [line, split] : cases) {
        EXPECT_EQ(SplitStateLine(line).key + "|" + SplitStateLine(line).value, split) << line;
    }
}

// The version as cut from the probe, or "-" when no line names it.
TEST(ProbeTest, VersionIsCutFromTheFirstLineNamingIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"banner\nversion  : 0.9.9.9-x\npid      : 1\n", "0.9.9.9-x"},
        {"Client version : 1.2 : build 7\n", "1.2"},
        {"version: first\nversion: second\n", "first"},
        {"version\n", ""},
        {"banner\nversion  : on the last line without a line feed", "- (not named)"},
        {"", "- (not named)"},
    };
    for (const auto& [probe, version] : cases) {
        std::string found = "-";  // kept when no line names it
        const bool named = ProbeVersion(probe, &found);
        EXPECT_EQ(found + (named ? "" : " (not named)"), version) << probe;
    }
}

TEST(ProbeTest, StatusTextIsTheRestOfTheStatusLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"pid      : 4\nstatus   : logged in\n", "logged in"},
        {"status   :  two blanks\n", "two blanks"},
        {"status   :xlost first\n", "lost first"},  // the character after the colon is skipped
        {"status   : no line feed", ""},
        // without the phrase there is no status to show, not a fragment of the output
        {"Client does not seem to be running.\nstart it\n", "offline"},
    };
    for (const auto& [probe, status] : cases) EXPECT_EQ(ProbeStatusText(probe), status) << probe;
}

class ClientStateTest : public CoreTest {
  protected:
    StandinScenario scenario;  // a home of its own
};

TEST_F(ClientStateTest, DefaultDirectoryFollowsUserAndHome) {
    const std::string home = scenario.Home();
    const std::pair<const char*, std::string> cases[] = {
        {"root", "/root/.hamachi/"}, {"tester", home + "/.hamachi/"}, {"", "/.hamachi/"}};
    for (const auto& [user, dir] : cases) {
        Client.CurrentUser = user;
        if (*user == '\0') unsetenv("HOME");
        ReadClientState();
        EXPECT_EQ(Client.ConfigDir, dir) << user;
    }
    setenv("HOME", home.c_str(), 1);
}

TEST_F(ClientStateTest, ReadsIdentityNicknameAndVersion) {
    scenario.Configure("x", "y");
    Client.ConfigDirOption = scenario.ConfigDir();
    scenario.Write("state",
                   "Other      x\r\nIdentity   5.9.8.7\r\n\r\nNickname   m\xE9lanie\rIgnored\n");
    runner.Answer("hamachi", "banner\nversion  : 1.2.3\n");
    const StateFileFound found = ReadClientState();
    EXPECT_TRUE(found.identity && found.nickname);
    EXPECT_EQ(Client.ConfigDir, scenario.ConfigDir());
    EXPECT_EQ(Client.Identity + "|" + Client.Nickname + "|" + Client.Version,
              "5.9.8.7|m\xE9lanie|1.2.3");
}

}  // namespace
