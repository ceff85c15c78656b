#include "mainwindow/login.h"
#include "client/client_state.h"
#include "client/roster.h"
#include "mainwindow/event_loop.h"
#include "mainwindow/identifiers.h"
#include "mainwindow/main_window.h"
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
        std::string statusWhileRunning;
        ToggleLogin();
        EXPECT_EQ(ClientLoggedIn, c.loggedIn) << c.answer;
        EXPECT_EQ(scenario.Calls().front(), "hamachi login") << c.answer;
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
    int endsAtOnce;  // exit status when the program ends inside ConfirmExit, else -1
};

TEST_F(LoginTest, ExitQuestionsAndWhichAnswerStopsTheClient) {
    const ExitCase cases[] = {
        {true, BoxAnswer::Yes, false, -1},    {true, BoxAnswer::No, true, -1},
        {true, BoxAnswer::Closed, false, -1}, {false, BoxAnswer::Yes, true, 0},
        {false, BoxAnswer::No, false, -1},    {false, BoxAnswer::Closed, false, -1},
    };
    for (const ExitCase& c : cases) {
        const std::string label = std::string(c.loggedIn ? "logged in, " : "logged out, ") +
                                  (c.answer == BoxAnswer::Yes  ? "Yes"
                                   : c.answer == BoxAnswer::No ? "No"
                                                               : "closed");
        RegisterImages();  // every case ends the program, which frees them
        CreatePopupMenus();
        OpenMain();
        c.loggedIn ? LookLoggedIn() : LookLoggedOut();
        QuitRequested = false;
        ClientStoppedByUser = false;
        ScriptBoxes({{c.answer, ""}});
        EXPECT_EQ(ExitStatusOf([] {
                      Dispatch(ProgramEvent{EventMenu, ItemExit, 0, 0});
                  }),
                  c.endsAtOnce)
            << label;
        EXPECT_EQ(Boxes(),
                  std::vector<std::string>{
                      c.loggedIn ? "Hamachi|Do you want to leave Hamachi logged in and running?"
                                 : "Hamachi|You are not logged in, do you want to stop Hamachi?"})
            << label;
        const std::vector<std::string> stop = {"hamachi stop"};
        EXPECT_EQ(scenario.Calls(), c.stopped ? stop : std::vector<std::string>{}) << label;
        if (c.endsAtOnce < 0) {
            EXPECT_TRUE(QuitRequested) << label;
            EXPECT_EQ(ClientStoppedByUser, c.stopped) << label;
            EXPECT_EQ(ExitStatusOf([] { RunEventLoop(); }), 0) << label;
        }
        scenario.SetRunning(true);
        scenario.SetLoggedIn(true);
    }
}

TEST_F(LoginTest, AfterExitStoppedTheClientTheWatchdogAsksNothing) {
    LookLoggedIn();
    ScriptBoxes({{BoxAnswer::No, ""}});
    time.Advance(WatchdogPeriodMs + 1);
    PostEvent(ProgramEvent{EventMenu, ItemExit, 0, 0});
    LoopPass();  // Exit, then the watchdog in the same pass
    EXPECT_TRUE(ClientStoppedByUser);
    EXPECT_EQ(scenario.Calls(), (std::vector<std::string>{"hamachi stop", "hamachi"}));
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(ExitStatusOf([] { RunEventLoop(); }), 0);
}

}  // namespace
