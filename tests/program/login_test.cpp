// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/login.h"
#include "app/event_loop.h"
#include "client/client_state.h"
#include "client/roster.h"
#include "common/identifiers.h"
#include "mainwindow/watchdog.h"
#include "program_test.h"

namespace {

class LoginTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ClientWithOneNetwork();
        OpenMain();
    }

    void LookLoggedIn() {
        scenario.SetLoggedIn(true);
        ClientLoggedIn = true;
        SetButtonImage(GadgetLogin, ImageLoggedIn);
        ShowClientState("on");
        RefreshRoster();
        scenario.ClearLog();
    }

    void LookLoggedOut() {
        scenario.SetLoggedIn(false);
        ClientLoggedIn = false;
        SetButtonImage(GadgetLogin, ImageLoggedOut);
        ShowClientState("off");
        scenario.ClearLog();
    }
};

// The login button either way: only its phrase counts, and the window follows.
TEST_F(LoginTest, TheAnswerDecidesAndTheWindowFollows) {
    struct Case {
        bool before;
        const char* answer;
        bool after;
        const char* status;
    };
    const char *in = "Could not log into Hamachi ..", *out = "Could not logout ..";
    const Case cases[] = {
        {true, "Logging out .. ok\n", false, "offline"},
        {true, "done .. ok", false, "offline"},
        {true, "ok\n", true, out},
        {true, "Logging out ..ok\n", true, out},
        {true, "", true, out},
        {false, "Logging in .. ok\n", true, Nickname},
        {false, "token\n", true, Nickname},  // "ok" inside another word counts
        {false, "Already logged in.\n", true, Nickname},
        {false, "Logging in .. failed\n", false, in},
        {false, "", false, in},
    };
    for (const Case& c : cases) {
        c.before ? LookLoggedIn() : LookLoggedOut();
        scenario.SetAnswer(c.before ? "logout" : "login", c.answer);
        scenario.SetLoggedIn(c.after);
        ToggleLogin();
        EXPECT_EQ(ClientLoggedIn, c.after) << c.answer;
        EXPECT_EQ(ButtonImage(GadgetLogin), c.after ? ImageLoggedIn : ImageLoggedOut) << c.answer;
        EXPECT_EQ(GadgetText(GadgetStatus), c.status) << c.answer;
        EXPECT_EQ(TreeRowCount(GadgetRoster), c.after ? 2 : 0) << c.answer;
        EXPECT_EQ(GadgetSensitive(GadgetSettings), c.after) << c.answer;
        EXPECT_EQ(scenario.Calls().at(0), c.before ? "hamachi logout" : "hamachi login");
    }
}

TEST_F(LoginTest, LoginShowsWhatItIsDoingBeforeTheCommandRuns) {
    LookLoggedOut();
    std::string seen;
    SetPauseForTests([&](int) {
        if (seen.empty()) seen = GadgetText(GadgetStatus);
    });
    ToggleLogin();
    time.Install();
    EXPECT_EQ(seen, "Logging into Hamachi ...");
}

struct ExitCase {
    bool loggedIn;
    BoxAnswer answer;
    bool stopped;
    bool endsAtOnce;  // without finishing the loop's pass
};

TEST_F(LoginTest, ExitQuestionsAndWhichAnswerStopsTheClient) {
    const ExitCase cases[] = {
        {true, BoxAnswer::Yes, false, false},    {true, BoxAnswer::No, true, false},
        {true, BoxAnswer::Closed, false, false}, {false, BoxAnswer::Yes, true, true},
        {false, BoxAnswer::No, false, false},    {false, BoxAnswer::Closed, false, false},
    };
    for (const ExitCase& c : cases) {
        const std::string label = std::string(c.loggedIn ? "logged in, " : "logged out, ") +
                                  (c.answer == BoxAnswer::Yes  ? "Yes"
                                   : c.answer == BoxAnswer::No ? "No"
                                                               : "closed");
        c.loggedIn ? LookLoggedIn() : LookLoggedOut();
        QuitRequested = EndRequested = ClientStoppedByUser = false;
        ScriptBoxes({{c.answer, ""}});
        Dispatch(ProgramEvent{EventMenu, ItemExit, 0, 0});
        EXPECT_EQ(Boxes(),
                  std::vector<std::string>{
                      c.loggedIn ? "Hamachi|Do you want to leave Hamachi logged in and running?"
                                 : "Hamachi|You are not logged in, do you want to stop Hamachi?"})
            << label;
        const std::vector<std::string> stop = {"hamachi stop"};
        EXPECT_EQ(scenario.Calls(), c.stopped ? stop : std::vector<std::string>{}) << label;
        EXPECT_EQ(EndRequested, c.endsAtOnce) << label;
        EXPECT_EQ(QuitRequested, !c.endsAtOnce) << label;
        EXPECT_EQ(ClientStoppedByUser, c.stopped && !c.endsAtOnce) << label;
        scenario.SetRunning(true);
        scenario.SetLoggedIn(true);
    }
}

TEST_F(LoginTest, StoppingAtOnceSkipsTheRestOfThePass) {
    LookLoggedOut();
    ScriptBoxes({{BoxAnswer::Yes, ""}});
    time.Advance(WatchdogPeriodMs + 1);
    PostEvent(ProgramEvent{EventMenu, ItemExit, 0, 0});
    LoopPass();
    EXPECT_TRUE(EndRequested);
    EXPECT_EQ(scenario.Calls(), std::vector<std::string>{"hamachi stop"}) << "no watchdog pass";
}

}  // namespace
