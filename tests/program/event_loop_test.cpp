// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/event_loop.h"
#include "client/client_state.h"
#include "client/roster.h"
#include "common/identifiers.h"
#include "mainwindow/login.h"
#include "mainwindow/watchdog.h"
#include "program_test.h"

namespace {

class EventLoopTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ClientWithOneNetwork();
        OpenMainLoggedIn();
    }
};

TEST_F(EventLoopTest, IdlePassWaitsUntilTheWatchdogIsDue) {
    time.Advance(1200);
    // Passes that find window-system work pending do not wait; the first idle
    // one waits exactly until the watchdog falls due.
    time.ClearPauses();
    for (int pass = 0; pass < 100 && time.Pauses().empty(); ++pass) LoopPass();
    EXPECT_EQ(time.Pauses(), std::vector<int>{3801});
    EXPECT_TRUE(scenario.Calls().empty());
    LastCheck = Millis();
    PostEvent(ProgramEvent{EventGadget, GadgetIdentity, MainWindow, LeftClick});
    time.ClearPauses();
    LoopPass();
    EXPECT_EQ(time.Pauses(), std::vector<int>{1});  // a pass with an event only pauses
}

// Only more than 5000 ms after the last pass, also across the 32-bit wrap.
TEST_F(EventLoopTest, WatchdogDueAfterFiveSecondsAcrossTheClockWrap) {
    LastCheck = INT32_MAX - 1000;
    time.Advance(int64_t{INT32_MAX} - 1000 + 5000 - time.Now());
    LoopPass();
    EXPECT_TRUE(scenario.Calls().empty());
    time.Advance(1500);  // past the wrap
    LoopPass();
    EXPECT_EQ(scenario.Calls(), (std::vector<std::string>{"hamachi", "hamachi list"}));
}

TEST_F(EventLoopTest, SizeChangeRelaysAndDropsWhatIsPending) {
    PostEvent(ProgramEvent{EventSizeChanged, 0, MainWindow, 0});
    PostEvent(ProgramEvent{EventGadget, GadgetLogin, MainWindow, LeftClick});
    LoopPass();
    EXPECT_EQ(QueuedEventCount(), 0);
    EXPECT_TRUE(scenario.Calls().empty());  // the login click was dropped
}

TEST_F(EventLoopTest, ClientStoppedAndRestarted) {
    scenario.SetRunning(false);
    std::string statusAtQuestion;
    ScriptBoxesWith([&](const BoxRecord&) {
        statusAtQuestion = GadgetText(GadgetStatus);
        return ScriptedAnswer{BoxAnswer::Yes, ""};
    });
    RunWatchdog();
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           "Hamachi Error|Hamachi is no longer running.  Do you want to\n"
                           "restart Hamachi?   (No quits client)."});
    EXPECT_EQ(statusAtQuestion, "offline");
    EXPECT_EQ(scenario.Calls(), (std::vector<std::string>{"hamachi", "hamachi start"}));
    EXPECT_FALSE(QuitRequested);
    EXPECT_FALSE(ClientLoggedIn);
    EXPECT_EQ(ButtonImage(GadgetLogin), ImageLoggedOut);
    EXPECT_EQ(GadgetText(GadgetStatus), "offline");
    EXPECT_EQ(TreeRowCount(GadgetRoster), 0);
    EXPECT_FALSE(GadgetSensitive(GadgetRoster));
}

TEST_F(EventLoopTest, LoggedOutBehindOurBack) {
    scenario.SetLoggedIn(false);
    RunWatchdog();
    EXPECT_FALSE(ClientLoggedIn);
    EXPECT_EQ(ButtonImage(GadgetLogin), ImageLoggedOut);
    EXPECT_EQ(TreeRowCount(GadgetRoster), 0);
    EXPECT_EQ(GadgetText(GadgetStatus), "offline");  // the client's own status line
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(EventLoopTest, LoggedInBehindOurBack) {
    scenario.SetLoggedIn(false);
    RunWatchdog();
    scenario.SetLoggedIn(true);
    scenario.ClearLog();
    RunWatchdog();
    EXPECT_TRUE(ClientLoggedIn);
    EXPECT_EQ(ButtonImage(GadgetLogin), ImageLoggedIn);
    EXPECT_EQ(TreeRowCount(GadgetRoster), 2);
    EXPECT_TRUE(GadgetSensitive(GadgetRoster));
    EXPECT_EQ(GadgetText(GadgetStatus), Nickname);
}

TEST_F(EventLoopTest, StatusLineShownWhileLoggedOut) {
    ClientLoggedIn = false;
    scenario.SetAnswer("probe", "version  : 1\npid      : 9\nstatus   : logging in, step 2\n");
    RunWatchdog();
    EXPECT_EQ(ClientStatusText, "logging in, step 2");
    EXPECT_EQ(GadgetText(GadgetStatus), "logging in, step 2");
}

TEST_F(EventLoopTest, SilentProbeSwitchesToTheLoggedOutLookWithoutAQuestion) {
    scenario.SetAnswer("probe", "");
    RunWatchdog();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(ClientLoggedIn);
    EXPECT_EQ(GadgetText(GadgetStatus), "offline");
}

}  // namespace
