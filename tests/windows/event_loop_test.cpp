// SPDX-License-Identifier: GPL-2.0-or-later
// The loop, the watchdog and the login button: the window follows what the
// client answers.
#include "app/event_loop.h"

#include <climits>

#include "image_list.h"
#include "mainwindow/login.h"
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

// What the probe comes to is the core's; the window shows a login under way,
// and a client stopped outside is started again on a Yes, or ends Corvane.
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
    struct Case {
        const char* answer;
        std::string look;
    };
    // logged in at first; each answer is the one to the click that follows
    const Case cases[] = {
        {"Logging out .. failed\n", live + "|Could not logout ..|4|++++"},
        {"Logging out .. ok\n", dead + "|offline|0|----"},
        {"token expired\n", dead + "|Could not log into Hamachi ..|0|----"},
        {"Logging in .. ok\n", live + "|ravenfan|4|++++"},
    };
    for (const Case& c : cases) {
        runner.Answer(Client.LoggedIn ? "hamachi logout" : "hamachi login", c.answer);
        Dispatch(ProgramEvent{EventGadget, GadgetLogin, MainWindow, LeftClick});
        EXPECT_EQ(Look(), c.look) << c.answer;
    }
}

TEST_F(EventLoopTest, ExitQuestionsAndWhichAnswerStopsTheClient) {
    struct Case {
        bool loggedIn;
        BoxAnswer answer;
        bool stopped, atOnce;
    };
    const Case cases[] = {
        {true, BoxAnswer::Yes, false, false},    {true, BoxAnswer::No, true, false},
        {true, BoxAnswer::Closed, false, false}, {false, BoxAnswer::Yes, true, true},
        {false, BoxAnswer::No, false, false},    {false, BoxAnswer::Closed, false, false},
    };
    for (const Case& c : cases) {
        Client.LoggedIn = c.loggedIn;
        Client.StoppedByUser = false;
        Loop = {};
        boxes.answers = {c.answer};
        boxes.shown.clear();
        runner.calls.clear();
        Dispatch(ProgramEvent{EventMenu, ItemExit, 0, 0});
        EXPECT_EQ(boxes.shown,
                  Texts{c.loggedIn ? "Hamachi|Do you want to leave Hamachi logged in and running?"
                                   : "Hamachi|You are not logged in, do you want to stop Hamachi?"});
        EXPECT_EQ(runner.calls, c.stopped ? Texts{"hamachi stop"} : Texts{});
        EXPECT_EQ(Loop.EndRequested, c.atOnce);
        EXPECT_EQ(Loop.QuitRequested, !c.atOnce);
        EXPECT_EQ(Client.StoppedByUser, c.stopped && !c.atOnce);
    }
}

// Ending at once skips the rest of the pass, the watchdog included; a size
// change drops what is pending behind it.
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
