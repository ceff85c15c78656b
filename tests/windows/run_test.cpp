// SPDX-License-Identifier: GPL-2.0-or-later
// The program's run: the command line, start-up against the stand-in client through the real
// shell (the clock is a fake), and the loop and the watchdog following the client.
#include "app/event_loop.h"

#include <climits>

#include "app/startup.h"
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

class StartUpTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        Runner.Commands = nullptr;
        scenario.FakeTuncfg(true);
        setenv("USER", "tester", 1);
    }
    bool Start() { return StartUp({Arguments::Run, scenario.ConfigDir(), false}); }
};

TEST_F(StartUpTest, StoppedClientIsStartedWhileTheWindowSaysSo) {
    scenario.Configure("5.44.1.9", "ravenfan");
    Texts seen;  // the status line at each of the client's 50 ms waits
    clock.paused = [&](int ms) {
        if (ms == 50) seen.push_back(GadgetText(GadgetStatus));
    };
    ASSERT_TRUE(Start());
    EXPECT_TRUE(WindowIsVisible(MainWindow));
    EXPECT_EQ(seen, Texts(60, "Hamachi starting ..")) << "about three seconds to come up";
    EXPECT_FALSE(Client.LoggedIn);
    EXPECT_EQ(ButtonImage(GadgetLogin), ImageLoggedOut);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(StartUpTest, HiddenStartShowsOnlyTheTrayIconAndItsClicks) {
    scenario.Configure("5.44.1.9", "ravenfan");
    scenario.Mark("running", true);
    scenario.Mark("logged-in", true);
    scenario.Write("networks", "network\talpha\tonline,owner\t\n");
    ASSERT_TRUE(StartUp({Arguments::Run, scenario.ConfigDir(), true}));
    EXPECT_FALSE(WindowIsVisible(MainWindow));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(TrayTooltip(), "Corvane");
    EXPECT_EQ(Loop.LastCheck, Millis());
    // Double clicks on the icon do nothing; its menu comes also while hidden.
    Dispatch(ProgramEvent{EventTray, 1, MainWindow, LeftDoubleClick});
    Dispatch(ProgramEvent{EventTray, 1, MainWindow, RightDoubleClick});
    EXPECT_FALSE(WindowIsVisible(MainWindow) || PopupMenuShown(MenuTray));
    Dispatch(ProgramEvent{EventTray, 1, MainWindow, RightClick});
    EXPECT_TRUE(PopupMenuShown(MenuTray));
    Dispatch(ProgramEvent{EventTray, 1, MainWindow, LeftClick});
    EXPECT_TRUE(WindowIsVisible(MainWindow));
    // Filled all the same, in the logged-in look.
    EXPECT_EQ(GadgetText(GadgetIdentity) + "|" + GadgetText(GadgetStatus), "5.44.1.9|ravenfan");
    EXPECT_EQ(ButtonImage(GadgetLogin), ImageLoggedIn);
    EXPECT_EQ(TreeRowCount(GadgetRoster), 1);
    EXPECT_EQ(Client.Version, "0.9.9.9-standin");
}

// A question declined ends start-up before any window.
TEST_F(StartUpTest, DeclinedConfigurationEndsStartUp) {
    boxes.answers = {BoxAnswer::No};
    EXPECT_FALSE(Start());
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_FALSE(WindowIsOpen(MainWindow));
}

TEST(ArgumentsTest, CommandLine) {
    // The arguments; what is asked for, the client's directory and whether hidden.
    const std::tuple<std::vector<std::string>, Arguments::Request, std::string, bool> cases[] = {
        {{"-c", "/srv/client"}, Arguments::Run, "/srv/client/", false},
        {{"-c", "rel/"}, Arguments::Run, "rel/", false},
        {{"-x", "-c", "/srv"}, Arguments::Run, "", false},  // only as the first argument
        {{"--hidden", "-c", "/srv"}, Arguments::Run, "/srv/", true},
        {{"-c", "--hidden"}, Arguments::Run, "--hidden/", false},  // the directory
        {{"-c", ""}, Arguments::Refused, "", false},               // it would be "/"
        {{"-c"}, Arguments::Run, "", false},
        {{"--version", "--help"}, Arguments::Version, "", false},
        {{"-c", "", "--help"}, Arguments::Help, "", false},
    };
    for (const auto& [args, request, dir, hidden] : cases) {
        std::vector<char*> argv{const_cast<char*>("corvane")};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        const Arguments read = ReadArguments(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(read.request, request) << args.size();
        EXPECT_EQ(read.configDir, dir) << args.size();
        EXPECT_EQ(read.hidden, hidden) << args.size();
    }
}

}  // namespace
