// SPDX-License-Identifier: GPL-2.0-or-later
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/startup.h"
#include "client/client_state.h"
#include "client/command_runner.h"
#include "client/startup_checks.h"
#include "common/identifiers.h"
#include "mainwindow/login.h"
#include "mainwindow/watchdog.h"
#include "program_test.h"

namespace {

const std::string TuncfgQuestion =
    "Hamachi|Hamachi needs a TAP/TUN device driver to operate.\n\n"
    "Do you want to try load 'tuncfg' with 'sudo'?";
const std::string NewConfigQuestion = "Do you want to create a new Hamachi configuration?";

class StartUpTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        scenario.FakeTuncfg(false);
    }

    // Start-up as the program runs it, with "-c" naming the stand-in's folder;
    // false when the program is to end.
    bool Start() {
        std::string name = "corvane", option = "-c", dir = scenario.ConfigDir();
        char* argv[] = {name.data(), option.data(), dir.data(), nullptr};
        return StartUp(3, argv);
    }

    // A terminal that records its arguments and runs what follows -e.
    void FakeTerminal() {
        scenario.AddProgram("xterm",
                            "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$HOME/xterm-args\"\n"
                            "while [ \"$1\" != -e ]; do shift; done\nshift\nexec \"$@\"\n");
        scenario.AddProgram("sudo", "#!/bin/sh\nexec \"$@\"\n");
    }

    bool Launched(const std::string& program) {
        for (const std::string& call : scenario.Calls()) {
            if (call == program || call.rfind(program + " ", 0) == 0) return true;
        }
        return false;
    }
};

// A running client, logged in or not: no question, the window in its look.
TEST_F(StartUpTest, RunningClientOpensTheWindowWithoutQuestions) {
    scenario.FakeTuncfg(true);
    for (const bool loggedIn : {true, false}) {
        RunningClient(loggedIn);
        scenario.AddNetwork("alpha", true, true);
        scenario.ClearLog();
        ASSERT_TRUE(Start());
        EXPECT_TRUE(Boxes().empty());
        EXPECT_TRUE(ClientRunning);
        EXPECT_EQ(ClientLoggedIn, loggedIn);
        EXPECT_EQ(ButtonImage(GadgetLogin), loggedIn ? ImageLoggedIn : ImageLoggedOut);
        EXPECT_EQ(GadgetText(GadgetIdentity), Identity);
        EXPECT_EQ(GadgetText(GadgetStatus), Nickname);  // re-read with the identity last
        EXPECT_EQ(TreeRowCount(GadgetRoster), loggedIn ? 1 : 0);
        EXPECT_EQ(ClientVersion, "0.9.9.9-standin");
        EXPECT_EQ(TrayTooltip(), "Corvane");
        // the probe at the check, for the look (logged in), and with the identity
        using Calls = std::vector<std::string>;
        const Calls calls =
            loggedIn ? Calls{"hamachi", "hamachi", "hamachi", "hamachi list", "hamachi get-nicks"}
                     : Calls{"hamachi", "hamachi", "hamachi list"};
        EXPECT_EQ(scenario.Calls(), calls);
        EXPECT_EQ(LastCheck, Millis());
        scenario.ClearNetworks();
    }
}

TEST_F(StartUpTest, StoppedClientIsStartedWithAboutThreeSecondsToComeUp) {
    scenario.Configure(Identity, Nickname);
    scenario.FakeTuncfg(true);
    std::vector<std::string> statusDuringWait;
    SetPauseForTests([&](int ms) {
        if (ms == 50) statusDuringWait.push_back(GadgetText(GadgetStatus));
        time.Advance(ms);
    });
    ASSERT_TRUE(Start());
    EXPECT_EQ(statusDuringWait, std::vector<std::string>(60, "Hamachi starting .."));
    EXPECT_TRUE(Launched("hamachi start"));
    EXPECT_FALSE(ClientRunning);   // as found at start-up
    EXPECT_FALSE(ClientLoggedIn);  // the started client reports itself offline
    EXPECT_EQ(ButtonImage(GadgetLogin), ImageLoggedOut);
    EXPECT_TRUE(Boxes().empty());
}

// Started detached, tuncfg gets 1500 ms and one runner step of 100 ms
// before the second look (here the time it takes to come up, for real).
TEST_F(StartUpTest, RootStartsTuncfgItselfAndLooksAgainLater) {
    setenv("USER", "root", 1);
    RunningClient(true);
    std::vector<int> pauses;
    SetPauseForTests([&](int ms) {
        pauses.push_back(ms);
        if (ms == 1500) PumpUntil([&] { return !RunCommand("ps -A |grep tuncfg").empty(); });
    });
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(std::vector<int>(pauses.begin(), pauses.begin() + 2), (std::vector<int>{1500, 100}));
}

TEST_F(StartUpTest, UserAcceptingTuncfgGetsATerminalAndALongerWait) {
    RunningClient(true);
    FakeTerminal();
    ScriptBoxes({{BoxAnswer::Yes, ""}});
    ASSERT_TRUE(Start());
    std::ifstream args(scenario.Home() + "/xterm-args");
    std::vector<std::string> lines;
    for (std::string line; std::getline(args, line);) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"-T", "sudo_tuncfg", "-geometry", "40x5", "-e",
                                               "sudo", "tuncfg"}));
    ASSERT_GE(time.Pauses().size(), 3u);
    EXPECT_EQ(std::vector<int>(time.Pauses().begin(), time.Pauses().begin() + 3),
              (std::vector<int>{1000, 1500, 100}));
    EXPECT_TRUE(WindowIsOpen(MainWindow));
}

TEST_F(StartUpTest, MissingConfigurationIsCreatedOnYes) {
    scenario.FakeTuncfg(true);
    ScriptBoxes({{BoxAnswer::Yes, ""}});
    ASSERT_TRUE(Start());
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           "Hamachi|Cannot find the hamachi configuration directory.  Either "
                           "Hamachi was\nstarted as the root user or this is a new Hamachi "
                           "connection.\n\n" +
                           NewConfigQuestion});
    EXPECT_TRUE(Launched("hamachi-init"));
    EXPECT_TRUE(Launched("hamachi start"));  // the new client was not running
    EXPECT_TRUE(WindowIsOpen(MainWindow));
    EXPECT_FALSE(ClientIdentity.empty());
}

// Every way out before the event loop, with what the user is told.  The
// client's absence shows either in its answer or on PATH (the shell's own
// complaint goes to standard error, which the probe never sees).
TEST_F(StartUpTest, WaysOut) {
    const std::string missing =
        "Hamachi Error|Hamachi is not loaded or not in the path...\n\n"
        "Download Hamachi at: " +
        std::string(ClientDownloadAddress);
    const std::string newConfig =
        "Hamachi|Cannot find the hamachi configuration directory.  Either Hamachi was\n"
        "started as the root user or this is a new Hamachi connection.\n\n" +
        NewConfigQuestion;
    struct Case {
        const char* name;
        std::string user, client, answer;  // client: running, stopped or none
        bool onPath;                       // the stand-in client and its tuncfg
        BoxAnswer reply;
        std::vector<std::string> boxes;
        std::string tuncfg = "runs";  // or "off" (it can be started), or "none"
    };
    const BoxAnswer no = BoxAnswer::No, closed = BoxAnswer::Closed, yes = BoxAnswer::Yes;
    const std::string notMade = "Error|Could not initialize a new Hamachi configuration.";
    // clang-format off
    const Case cases[] = {
        {"tuncfg declined", "tester", "running", "", true, no, {TuncfgQuestion}, "off"},
        {"tuncfg question closed", "tester", "running", "", true, closed, {TuncfgQuestion}, "off"},
        {"no tuncfg to start", "root", "running", "", false, yes, {"Error|TAP/TUN not found."}, "none"},
        {"client says it is missing", "tester", "running", "probe", true, yes, {missing}},
        {"client nowhere on PATH", "tester", "running", "", false, yes, {missing}},
        {"configuration declined", "tester", "none", "", true, no, {newConfig}},
        {"configuration question closed", "root", "none", "", true, closed, {"Hamachi|" + NewConfigQuestion}},
        {"configuration not made", "tester", "none", "init", true, yes, {newConfig, notMade}},
        {"client does not come up", "tester", "stopped", "start", true, yes, {"Hamachi Error|Hamachi could not be started...\n"}},
    };
    // clang-format on
    FakeTerminal();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StandinScenario own;  // a fresh home for each
        if (c.client != "none") own.Configure(Identity, Nickname);
        own.SetRunning(c.client == "running");
        own.SetLoggedIn(c.client == "running");
        if (c.answer == "probe") own.SetAnswer("probe", "hamachi: command not found\n");
        if (c.answer != "" && c.answer != "probe") own.SetAnswer(c.answer, "");
        own.FakeTuncfg(c.tuncfg == "runs");
        if (c.tuncfg == "none") std::filesystem::remove(own.BinDir() + "/tuncfg");
        own.ClearLog();
        setenv("USER", c.user.c_str(), 1);
        if (!c.onPath) setenv("PATH", (own.BinDir() + ":/usr/bin:/bin").c_str(), 1);
        ScriptBoxes(std::vector<ScriptedAnswer>(c.boxes.size(), {c.reply, ""}));
        std::string name = "corvane", option = "-c", dir = own.ConfigDir();
        char* argv[] = {name.data(), option.data(), dir.data(), nullptr};
        EXPECT_FALSE(StartUp(3, argv));
        EXPECT_EQ(Boxes(), c.boxes);
        if (c.tuncfg != "runs") {
            EXPECT_FALSE(std::filesystem::exists(scenario.Home() + "/xterm-args")) << "xterm ran";
            EXPECT_TRUE(own.Calls().empty());
        }
    }
}

}  // namespace
