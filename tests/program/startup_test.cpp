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
        scenario.StopTuncfg();
        ASSERT_EQ(RunCommand("ps -A |grep tuncfg"), "") << "a tuncfg runs outside the test";
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
    scenario.StartTuncfg();
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
    scenario.StartTuncfg();
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

TEST_F(StartUpTest, RootStartsTuncfgItselfAndLooksAgainLater) {
    setenv("USER", "root", 1);
    RunningClient(true);
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(Launched("tuncfg"));
    EXPECT_FALSE(Launched("xterm"));
    // 1500 ms, then one runner step of 100 ms, before the second look
    ASSERT_GE(time.Pauses().size(), 2u);
    EXPECT_EQ(time.Pauses()[0], 1500);
    EXPECT_EQ(time.Pauses()[1], 100);
    EXPECT_TRUE(WindowIsOpen(MainWindow));
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
    scenario.StartTuncfg();
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
    const std::string path = GetEnv("PATH"), noClient = scenario.BinDir() + ":/usr/bin:/bin";
    const std::string newConfig =
        "Hamachi|Cannot find the hamachi configuration directory.  Either Hamachi was\n"
        "started as the root user or this is a new Hamachi connection.\n\n" +
        NewConfigQuestion;
    struct Case {
        const char* name;
        std::string user, client, answer, path;  // client: running, stopped, none, missing
        BoxAnswer reply;
        std::vector<std::string> boxes;
        bool tuncfg = true;
    };
    const BoxAnswer no = BoxAnswer::No, closed = BoxAnswer::Closed, yes = BoxAnswer::Yes;
    const std::string notMade = "Error|Could not initialize a new Hamachi configuration.";
    // clang-format off
    const Case cases[] = {
        {"tuncfg declined", "tester", "running", "", path, no, {TuncfgQuestion}, false},
        {"tuncfg question closed", "tester", "running", "", path, closed, {TuncfgQuestion}, false},
        {"no tuncfg to start", "root", "running", "", noClient, yes, {"Error|TAP/TUN not found."}, false},
        {"client says it is missing", "tester", "running", "probe", path, yes, {missing}},
        {"client nowhere on PATH", "tester", "running", "", noClient, yes, {missing}},
        {"configuration declined", "tester", "none", "", path, no, {newConfig}},
        {"configuration question closed", "root", "none", "", path, closed, {"Hamachi|" + NewConfigQuestion}},
        {"configuration not made", "tester", "none", "init", path, yes, {newConfig, notMade}},
        {"client does not come up", "tester", "stopped", "start", path, yes, {"Hamachi Error|Hamachi could not be started...\n"}},
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
        if (c.tuncfg) own.StartTuncfg();
        own.ClearLog();
        setenv("USER", c.user.c_str(), 1);
        setenv("PATH", c.path.c_str(), 1);
        ScriptBoxes(std::vector<ScriptedAnswer>(c.boxes.size(), {c.reply, ""}));
        std::string name = "corvane", option = "-c", dir = own.ConfigDir();
        char* argv[] = {name.data(), option.data(), dir.data(), nullptr};
        const bool started = StartUp(3, argv);
        setenv("PATH", path.c_str(), 1);
        EXPECT_FALSE(started);
        EXPECT_EQ(Boxes(), c.boxes);
        if (!c.tuncfg) {
            EXPECT_FALSE(std::filesystem::exists(own.Home() + "/xterm-args")) << "xterm ran";
            EXPECT_TRUE(own.Calls().empty() || c.user == "root");
        }
        own.StopTuncfg();
    }
}

}  // namespace
