// SPDX-License-Identifier: GPL-2.0-or-later
// What the core makes of the client's texts: state file, probe, start-up checks, roster,
// verdicts and answers.
#include <cstdio>

#include "client/network_commands.h"
#include "client/nickname.h"
#include "client/session.h"
#include "client/startup_checks.h"
#include "client/watch.h"
#include "common/read_file.h"
#include "core_test.h"
#include "standin_scenario.h"

void PrintTo(const RosterRow& row, std::ostream* out) {
    *out << "{" << row.level << ", \"" << row.text << "\", " << static_cast<int>(row.state) << "}";
}

namespace {

// A state file line as "key|value": the key is the first nine characters, the
// value starts at the twelfth.
std::string StateLine(const std::string& line) {
    return SplitStateLine(line).key + "|" + SplitStateLine(line).value;
}

// The version cut from the probe; "-" when no line names it.
std::string Version(const std::string& probe) {
    std::string version = "-";  // kept then
    return ProbeVersion(probe, &version) ? version : version + " (not named)";
}

// Each reader of the client's text lines, and what it makes of them.
TEST(TextLinesTest, StateLinesAndProbeLines) {
    using Reader = std::function<std::string(const std::string&)>;
    const std::tuple<Reader, const char*, const char*> cases[] = {
        {StateLine, "Identity   5.1.2.3", "Identity|5.1.2.3"},
        {StateLine, "Identity XY5.1.2.3", "Identity|5.1.2.3"},     // 10th and 11th are skipped
        {StateLine, "Nickname alice", "Nickname|ice"},             // one blank loses two letters
        {StateLine, " Identity  5.1.2.3", "Identity|5.1.2.3"},     // leading blank trimmed
        {StateLine, "Nickname      spaced  ", "Nickname|spaced"},  // value trimmed
        {StateLine, "\tIdentity  x", "\tIdentity|x"},              // tabs are not blanks
        {StateLine, "Nickname", "Nickname|"},
        {StateLine, "", "|"},
        {Version, "banner\nversion  : 0.9.9.9-x\npid      : 1\n", "0.9.9.9-x"},
        {Version, "Client version : 1.2 : build 7\n", "1.2"},
        {Version, "version: first\nversion: second\n", "first"},
        {Version, "version\n", ""},
        {Version, "banner\nversion  : on the last line without a line feed", "- (not named)"},
        {Version, "", "- (not named)"},
        {ProbeStatusText, "pid      : 4\nstatus   : logged in\n", "logged in"},
        {ProbeStatusText, "status   :  two blanks\n", "two blanks"},
        {ProbeStatusText, "status   :xlost first\n", "lost first"},  // the one after ':' skipped
        {ProbeStatusText, "status   : no line feed", ""},
        // without the phrase there is no status to show, not a fragment of the output
        {ProbeStatusText, "Client does not seem to be running.\nstart it\n", "offline"},
    };
    for (const auto& [read, text, made] : cases) EXPECT_EQ(read(text), made) << text;
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

using StartupChecksTest = ClientStateTest;  // the stand-in client on PATH

TEST_F(StartupChecksTest, TuncfgFoundStartedOrAskedFor) {
    struct Case {
        const char* user;
        int foundFrom;  // the look of "ps" that finds tuncfg; 0: none
        Check::Result first, afterYes;
    };
    const Case cases[] = {
        {"tester", 1, Check::Passed, Check::Passed},
        {"root", 2, Check::Passed, Check::Passed},  // started without a question
        {"root", 0, Check::Failed, Check::Failed},
        {"tester", 2, Check::Ask, Check::Passed},
        {"tester", 0, Check::Ask, Check::Failed},
    };
    // Slow to write its arguments: the launch waits for it.
    scenario.AddProgram("xterm", "#!/bin/sh\nsleep 0.2\nprintf '%s\\n' \"$@\" >\"$HOME/a\"\n"
                                 "mv \"$HOME/a\" \"$HOME/xterm-args\"\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.user) + " " + std::to_string(c.foundFrom));
        Client.CurrentUser = c.user;
        runner.answerer = [n = c.foundFrom, looks = 0](const std::string& line) mutable {
            const bool found = line == "ps -A |grep tuncfg" && ++looks >= n && n > 0;
            return CommandOutput{found ? "  7 ?  00:00:00 tuncfg\n" : "", true};
        };
        Check check = CheckTuncfg();
        EXPECT_EQ(check.result, c.first);
        if (check.result == Check::Ask) {
            EXPECT_EQ(check.title + "|" + check.text,
                      "Hamachi|Hamachi needs a TAP/TUN device driver to operate.\n\n"
                      "Do you want to try load 'tuncfg' with 'sudo'?");
            check = LoadTuncfgWithSudo();
            EXPECT_EQ(check.result, c.afterYes);
            EXPECT_EQ(ReadWholeFile(scenario.Home() + "/xterm-args"),
                      "-T\nsudo_tuncfg\n-geometry\n40x5\n-e\nsudo\ntuncfg\n");
            std::remove((scenario.Home() + "/xterm-args").c_str());
        }
        if (check.result == Check::Failed) {
            EXPECT_EQ(check.title + "|" + check.text, "Error|TAP/TUN not found.");
        }
    }
}

// The client's absence shows in its answer, on PATH, or in a probe that cannot run.
TEST_F(StartupChecksTest, ClientPresentAndConfigured) {
    runner.Answer("hamachi", "hamachi: command not found\n");
    const Check missing = CheckClientPresent();
    EXPECT_EQ(missing.title + "|" + missing.text,
              "Hamachi Error|Hamachi is not loaded or not in the path...\n\nDownload Hamachi at: " +
                  std::string(ClientDownloadAddress));
    runner.CannotRun("hamachi");
    EXPECT_EQ(CheckClientPresent().result, Check::Failed);
    runner.Answer("hamachi", "Cannot find configuration directory /x\n");
    EXPECT_EQ(CheckClientPresent().result, Check::Passed);
    setenv("PATH", "/usr/bin:/bin", 1);
    EXPECT_EQ(CheckClientPresent().result, Check::Failed);

    const std::string question = "Do you want to create a new Hamachi configuration?";
    Client.CurrentUser = "root";
    EXPECT_EQ(CheckClientConfigured().text, question);
    Client.CurrentUser = "tester";
    EXPECT_EQ(CheckClientConfigured().text,
              "Cannot find the hamachi configuration directory.  Either Hamachi was\nstarted as "
              "the root user or this is a new Hamachi connection.\n\n" + question);
    runner.calls.clear();
    EXPECT_EQ(CreateConfiguration().text, "Could not initialize a new Hamachi configuration.");
    runner.Answer("hamachi", "version : 1\n");
    EXPECT_EQ(CreateConfiguration().result, Check::Passed);
    EXPECT_EQ(runner.calls,
              (std::vector<std::string>{"hamachi-init", "hamachi", "hamachi-init", "hamachi"}));
}

TEST_F(StartupChecksTest, StartedClientComesUpLoggedInOrNot) {
    // The probe, and whether logged in before; the check, and logged in after.
    const std::tuple<const char*, bool, Check::Result, bool> cases[] = {
        {"pid : 9\nstatus : offline\n", true, Check::Passed, false},
        {"pid : 9\nstatus : logged in\n", false, Check::Passed, true},
        {"pid : 9\n", true, Check::Passed, true},
        {"does not seem to be running\n", false, Check::Failed, false},
    };
    for (const auto& [probe, before, result, after] : cases) {
        Client.LoggedIn = before;
        runner.Answer("hamachi", probe);
        EXPECT_EQ(ProbeStartedClient().result, result) << probe;
        EXPECT_EQ(Client.LoggedIn, after) << probe;
    }
}

// Which of the login, logout and nickname commands take each answer as done.
TEST(AnswersTest, LoginLogoutAndNicknamePhrases) {
    const std::pair<const char*, const char*> cases[] = {
        {"Logging in .. ok\n", "login logout "},
        {"ok", "login "},
        {"OK\n", ""},  // the phrases are case-sensitive
        {"Already logged in.\n", "login "},
        {"token expired\n", ""},  // "ok" inside another word is no success
        {"ok2 2ok xoky\n", ""},
        {"Logging out ..ok\n", "login "},
        {"Setting nickname .. ok\n", "login logout nickname"},
        {"\nSetting nick\nname .. ok\n\n", "login logout nickname"},
        {"Setting nickname .. ok\r\n", "login logout "},
        {"", ""},
    };
    for (const auto& [answer, takers] : cases) {
        EXPECT_EQ(std::string(LoginAccepted(answer) ? "login " : "") +
                      (LogoutAccepted(answer) ? "logout " : "") +
                      (NicknameAccepted(answer) ? "nickname" : ""),
                  takers)
            << answer;
    }
}

// A verdict in words: "gone", "out", "in", "refresh" and "status:TEXT".
std::string Words(const ProbeVerdict& v) {
    std::string words;
    for (const auto& [set, word] : {std::pair{v.clientGone, "gone "}, {v.loggedOut, "out "},
                                    {v.loggedIn, "in "}, {v.refresh, "refresh "}}) {
        if (set) words += word;
    }
    return words + (v.status ? "status:" + *v.status : "");
}

TEST(WatchdogTest, ProbeVerdicts) {
    const char* gone = "The client does not seem to be running.\n";
    const char* in = "pid      : 9\nstatus   : logged in\n";
    const char* out = "pid      : 9\nstatus   : logging in, step 2\n";
    // The probe, whether logged in and whether the user stopped the client.
    const std::tuple<const char*, bool, bool, const char*> cases[] = {
        {in, true, false, "refresh "},
        {in, false, false, "in "},
        {out, true, false, "out status:logging in, step 2"},
        {out, false, false, "status:logging in, step 2"},
        {gone, true, false, "gone out status:offline"},
        {gone, false, true, "status:offline"},  // the user stopped it: no restart
        {"", true, false, "out status:offline"},
    };
    for (const auto& [probe, loggedIn, stoppedByUser, verdict] : cases) {
        EXPECT_EQ(Words(JudgeProbe(probe, loggedIn, stoppedByUser)), verdict)
            << probe << loggedIn << stoppedByUser;
    }
}

constexpr RowState On = RowState::Online;
constexpr RowState Cross = RowState::Crossed;
constexpr RowState Off = RowState::Offline;

TEST(ParseRosterTest, LinesBecomeRows) {
    const std::pair<const char*, std::vector<RosterRow>> cases[] = {
        {" * [alpha]\n   [beta]\n", {{0, "[alpha]", On}, {0, "[beta]", Off}}},
        {"   [n]\n    *  5.1.2.3          bob                       direct\n",  // columns
         {{0, "[n]", Off}, {1, "5.1.2.3 - bob", On}}},
        // crossed, both marks, and a capital X that is a mark only between blanks
        {"   [n]\n    X  5.1.2.4          carol\n   *X  5.1.2.5          dan X \n"
         "       5.1.2.6          Xavier MAX\n       5.1.2.7          al X bo\n",
         {{0, "[n]", Off}, {1, "5.1.2.4 - carol", Cross}, {1, "5.1.2.5 - dan X", On},
          {1, "5.1.2.6 - Xavier MAX", Off}, {1, "5.1.2.7 - al X bo", Cross}}},
        // fields are fixed columns, not words
        {"   [n]\n1234567ADDRESS-16-CHARSxNICKNAME-OF-25-CHARACTERSyzzz\n",
         {{0, "[n]", Off}, {1, "ADDRESS-16-CHARS - NICKNAME-OF-25-CHARACTERS", Off}}},
        {"   [n]\n       5.1.2.3          [weird]\n",  // a bracket in a nickname makes a header
         {{0, "[n]", Off}, {0, "5.1.2.3          [weird]", Off}}},
        {"   [n]\nshort\n\n       5.1.2\n",
         {{0, "[n]", Off}, {1, " - ", Off}, {1, " - ", Off}, {1, "5.1.2 - ", Off}}},
        {"   [n]\n       5.1.2.3          bob", {{0, "[n]", Off}}},  // no line feed: not taken
        {"   [n]\r\n", {{0, "[n]\r", Off}}},                        // carriage returns stay
        {"** [st*ar] *\n", {{0, "[star]", On}}},                    // stars leave the header text
        {"", {}},
    };
    for (const auto& [output, rows] : cases) EXPECT_EQ(ParseRoster(output), rows) << output;
}

class RefreshRosterTest : public CoreTest {};

// Only a changed output rebuilds and asks for nicknames; an unrunnable list keeps the rows.
TEST_F(RefreshRosterTest, RebuildsOnlyOnAChangedOutput) {
    const std::string list = "hamachi list", nicks = "hamachi get-nicks";
    // The last output and the answer (nullptr: cannot be run); rows (-1: none rebuilt), calls.
    const std::tuple<const char*, const char*, int, std::vector<std::string>> cases[] = {
        {"", "   [n]\n", 1, {list, nicks}},
        {"   [n]\n", "   [n]\n", -1, {list}},
        {"   [n]\n", "", 0, {list, nicks}},  // emptied once
        {"", "", -1, {list}},
        {"   [n]\n", nullptr, -1, {list}},
    };
    for (const auto& [last, answer, rows, calls] : cases) {
        Roster.LastListOutput = last;
        runner.calls.clear();
        answer ? runner.Answer(list, answer) : runner.CannotRun(list);
        const auto update = RefreshRoster();
        EXPECT_EQ(update ? int(update->rows.size()) : -1, rows) << last << "->" << answer;
        EXPECT_EQ(update ? update->previousOutput : last, last);
        EXPECT_EQ(runner.calls, calls);
        EXPECT_EQ(Roster.LastListOutput, rows < 0 ? last : answer);
    }
}

TEST(MemberChangesTest, OnlyMembersGoingBetweenOnlineAndOfflineCount) {
    const std::string before =
        " * [a]\n    *  5.0.0.1          up\n       5.0.0.2          down\n"
        "    X  5.0.0.3          crossed\n    *  5.0.0.4          gone\n"
        "   [b]\n    *  5.0.0.1          same address elsewhere\n";
    const std::string after =
        " * [a]\n       5.0.0.1          up\n    *  5.0.0.2          down renamed\n"
        "    *  5.0.0.3          crossed\n    *  5.0.0.5          new\n"
        "   [b]\n    *  5.0.0.1          same address elsewhere\n";
    EXPECT_EQ(MemberChanges(before, ParseRoster(after)),
              (std::vector<MemberChange>{{"[a]", "5.0.0.1 - up", false},
                                         {"[a]", "5.0.0.2 - down renamed", true}}));
    EXPECT_TRUE(MemberChanges("", ParseRoster(after)).empty());
}

class CommandsTest : public CoreTest {};

TEST_F(CommandsTest, NetworkCommandsAndWhatTheAnswerComesTo) {
    const Message notRun = NotRunMessage();
    const Outcome done{std::nullopt, true}, nothing{};
    struct Case {
        std::function<Outcome()> call;
        std::string line;
        const char* answer;  // nullptr: the command cannot be run
        Outcome outcome;
    };
    const auto create = [](const char* name, const char* password) {
        return [=] { return SubmitNetwork(NetworkRequest::Create, name, password); };
    };
    const auto join = [](const char* name, const char* password) {
        return [=] { return SubmitNetwork(NetworkRequest::Join, name, password); };
    };
    // clang-format off
    const Case cases[] = {
        {[] { return SetNetworkOnline("it's", true); }, "hamachi go-online 'it'\\''s'", "", nothing},
        {[] { return SetNetworkOnline("", false); }, "hamachi go-offline ''",
         "x\nGoing offline .. failed\n", {Message{"Hamachi", "x\nGoing offline .. failed\n"}}},
        {[] { return SetNetworkOnline("n", true); }, "hamachi go-online 'n'", nullptr, {notRun}},
        {[] { return LeaveNetwork("a"); }, "hamachi leave 'a'", ".. failed, you are an owner",
         {Message{"Hamachi", "Leaving a failed, you are an owner"}}},
        {[] { return LeaveNetwork("a"); }, "hamachi leave 'a'", nullptr, {notRun}},
        {[] { return DeleteNetwork("b"); }, "hamachi delete 'b'", "not an owner",
         {Message{"Hamachi", "Delete b failed, you are not an owner"}}},
        {[] { return EvictMember("", ""); }, "hamachi evict '' ''", "access denied",
         {Message{"Error", "Evict user failed, access denied"}}},
        // the name loses its outer blanks, the password keeps them
        {create("  my net  ", " pw "), "hamachi create 'my net' ' pw '", "", done},
        {create("   ", ""), "hamachi create '' ''", "Creating .. failed\n", done},
        {create("x", "a'b"), "hamachi create 'x' 'a'\\''b'", ".. name is already taken",
         {Message{"Hamachi", "Network name is already taken"}}},
        {create("x", ""), "hamachi create 'x' ''", nullptr, {notRun}},
        {join(" x", ""), "hamachi join 'x' ''", ".. failed, invalid password",
         {Message{"Hamachi", "Invalid password"}}},
        {join("x", ""), "hamachi join 'x' ''", "Invalid password\n", done},
    };
    // clang-format on
    for (const Case& c : cases) {
        runner.calls.clear();
        c.answer ? runner.Answer(c.line, c.answer) : runner.CannotRun(c.line);
        EXPECT_EQ(c.call(), c.outcome) << c.line;
        EXPECT_EQ(runner.calls, std::vector<std::string>{c.line});
    }
}

}  // namespace
