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

TEST_F(LoginTest, LogoutSucceedsOnlyOnTheDotsOk) {
    struct Case {
        const char* answer;
        bool loggedOut;
    };
    const Case cases[] = {{"Logging out .. ok\n", true},
                          {"done .. ok", true},
                          {"ok\n", false},
                          {"Logging out ..ok\n", false},
                          {"", false}};
    for (const Case& c : cases) {
        LookLoggedIn();
        scenario.SetAnswer("logout", c.answer);
        ToggleLogin();
        EXPECT_EQ(scenario.Calls(), std::vector<std::string>{"hamachi logout"}) << c.answer;
        EXPECT_EQ(ClientLoggedIn, !c.loggedOut) << c.answer;
        if (c.loggedOut) {
            EXPECT_EQ(ButtonImage(GadgetLogin), ImageLoggedOut);
            EXPECT_EQ(GadgetText(GadgetStatus), "offline");
            EXPECT_EQ(TreeRowCount(GadgetRoster), 0);
            EXPECT_FALSE(GadgetSensitive(GadgetSettings));
        } else {
            EXPECT_EQ(ButtonImage(GadgetLogin), ImageLoggedIn) << c.answer;
            EXPECT_EQ(GadgetText(GadgetStatus), "Could not logout ..") << c.answer;
            EXPECT_EQ(TreeRowCount(GadgetRoster), 2) << c.answer;
        }
    }
}

TEST_F(LoginTest, LoginSucceedsOnOkOrLoggedInAnywhere) {
    struct Case {
        const char* answer;
        bool loggedIn;
    };
    const Case cases[] = {{"Logging in .. ok\n", true},
                          {"token\n", true},  // "ok" inside another word counts
                          {"Already logged in.\n", true},
                          {"Logging in .. failed\n", false},
                          {"", false}};
    for (const Case& c : cases) {
        LookLoggedOut();
        scenario.SetAnswer("login", c.answer);
        scenario.SetLoggedIn(c.loggedIn);
        ToggleLogin();
        EXPECT_EQ(ClientLoggedIn, c.loggedIn) << c.answer;
        if (c.loggedIn) {
            EXPECT_EQ(ButtonImage(GadgetLogin), ImageLoggedIn);
            EXPECT_EQ(GadgetText(GadgetStatus), Nickname);
            EXPECT_TRUE(GadgetSensitive(GadgetRoster));
            EXPECT_EQ(TreeRowCount(GadgetRoster), 2);
            EXPECT_EQ(scenario.Calls(),
                      (std::vector<std::string>{"hamachi login", "hamachi", "hamachi list",
                                                "hamachi get-nicks"}));
        } else {
            EXPECT_EQ(ButtonImage(GadgetLogin), ImageLoggedOut);
            EXPECT_EQ(GadgetText(GadgetStatus), "Could not log into Hamachi ..");
            EXPECT_EQ(scenario.Calls(), std::vector<std::string>{"hamachi login"});
        }
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
