// SPDX-License-Identifier: GPL-2.0-or-later
// The loop, the watchdog and the login button: the window follows the client's answers.
#include "app/event_loop.h"

#include <climits>

#include "image_list.h"
#include "mainwindow/main_window.h"
#include "mainwindow/watchdog.h"
#include "window_test.h"

namespace {

using Texts = std::vector<std::string>;

class EventLoopTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        scenario.Configure("5.44.1.9", "ravenfan");
        OpenLoggedIn();
    }
    // The window's look: the login button's face, the status line, the rows,
    // and whether the gadgets but the login button work.
    static std::string Look() {
        auto look = std::to_string(ButtonImage(GadgetLogin)) + "|" + GadgetText(GadgetStatus) +
                    "|" + std::to_string(TreeRowCount(GadgetRoster)) + "|";
        for (int gadget : {GadgetIdentity, GadgetRoster, GadgetNetworks, GadgetSettings})
            look += GadgetSensitive(gadget) ? "+" : "-";
        return look + (GadgetSensitive(GadgetLogin) ? "" : " no login");
    }
};

// More than 5000 ms after the last pass, also across the 32-bit wrap.
TEST(WatchdogDueTest, AfterFiveSecondsAcrossTheClockWrap) {
    const std::tuple<int32_t, int32_t, int32_t> cases[] = {
        {1000, 6000, 1}, {1000, 6001, 0}, {INT32_MAX - 1000, INT32_MIN + 3999, 1},
        {INT32_MAX - 1000, INT32_MIN + 5000, -1000}};
    for (const auto& [last, now, left] : cases) EXPECT_EQ(MillisUntilWatchdog(now, last), left);
}

// The window shows a login under way; a client stopped outside restarts on a Yes, or we end.
TEST_F(EventLoopTest, WatchdogFollowsTheClient) {
    runner.Answer("hamachi", "pid      : 9\nstatus   : logging in, step 2\n");
    EXPECT_TRUE(RunWatchdog());
    EXPECT_EQ(Look(), std::to_string(ImageLoggedOut) + "|logging in, step 2|0|----");
    runner.Answer("hamachi", "The client does not seem to be running.\n");
    for (const BoxAnswer answer : {BoxAnswer::Yes, BoxAnswer::No}) {
        boxes.answers = {answer};
        runner.calls.clear();
        EXPECT_EQ(RunWatchdog(), answer == BoxAnswer::Yes);
        EXPECT_EQ(runner.calls, (answer == BoxAnswer::Yes ? Texts{"hamachi", "hamachi start"}
                                                           : Texts{"hamachi"}));
    }
    EXPECT_EQ(boxes.shown.size(), 2u);
}

TEST_F(EventLoopTest, LoginButtonEitherWay) {
    const std::string live = std::to_string(ImageLoggedIn), dead = std::to_string(ImageLoggedOut);
    // logged in at first; each answer is the one to the click that follows
    const std::pair<const char*, std::string> cases[] = {
        {"Logging out .. failed\n", live + "|Could not logout ..|4|++++"},
        {"Logging out .. ok\n", dead + "|offline|0|----"},
        {"token expired\n", dead + "|Could not log into Hamachi ..|0|----"},
        {"Logging in .. ok\n", live + "|ravenfan|4|++++"},
    };
    for (const auto& [answer, look] : cases) {
        runner.Answer(Client.LoggedIn ? "hamachi logout" : "hamachi login", answer);
        Dispatch(ProgramEvent{EventGadget, GadgetLogin, MainWindow, LeftClick});
        EXPECT_EQ(Look(), look) << answer;
    }
}

TEST_F(EventLoopTest, ExitQuestionsAndWhichAnswerStopsTheClient) {
    // Logged in, the answer; whether the client is stopped, and Corvane ends at once.
    const std::tuple<bool, BoxAnswer, bool, bool> cases[] = {
        {true, BoxAnswer::Yes, false, false},    {true, BoxAnswer::No, true, false},
        {true, BoxAnswer::Closed, false, false}, {false, BoxAnswer::Yes, true, true},
        {false, BoxAnswer::No, false, false},    {false, BoxAnswer::Closed, false, false},
    };
    for (const auto& [loggedIn, answer, stopped, atOnce] : cases) {
        Client.LoggedIn = loggedIn;
        Client.StoppedByUser = false;
        Loop = {};
        boxes.answers = {answer};
        boxes.shown.clear();
        runner.calls.clear();
        Dispatch(ProgramEvent{EventMenu, ItemExit, 0, 0});
        EXPECT_EQ(boxes.shown,
                  Texts{loggedIn ? "Hamachi|Do you want to leave Hamachi logged in and running?"
                                 : "Hamachi|You are not logged in, do you want to stop Hamachi?"});
        EXPECT_EQ(runner.calls, stopped ? Texts{"hamachi stop"} : Texts{});
        EXPECT_EQ(Loop.EndRequested, atOnce);
        EXPECT_EQ(Loop.QuitRequested, !atOnce);
        EXPECT_EQ(Client.StoppedByUser, stopped && !atOnce);
    }
}

// Ending at once skips the rest of the pass; a size change drops what is pending behind it.
TEST_F(EventLoopTest, PassesEndAtOnceAndDropAfterASizeChange) {
    Client.LoggedIn = false;
    boxes.answers = {BoxAnswer::Yes};
    clock.now += WatchdogPeriodMs + 1;
    PostEvent(ProgramEvent{EventMenu, ItemExit, 0, 0});
    LoopPass();
    EXPECT_TRUE(Loop.EndRequested);
    EXPECT_EQ(runner.calls, Texts{"hamachi stop"}) << "no watchdog pass";

    runner.calls.clear();
    Loop = {};
    Loop.LastCheck = Millis();
    PostEvent(ProgramEvent{EventSizeChanged, 0, MainWindow, 0});
    PostEvent(ProgramEvent{EventGadget, GadgetLogin, MainWindow, LeftClick});
    LoopPass();
    EXPECT_EQ(QueuedEventCount(), 0);
    EXPECT_TRUE(runner.calls.empty());  // the login click was dropped
}

}  // namespace
