// SPDX-License-Identifier: GPL-2.0-or-later
// Start-up against the stand-in client through the real shell; the clock is a fake.
#include "app/startup.h"

#include "app/event_loop.h"
#include "image_list.h"
#include "mainwindow/main_window.h"
#include "window_test.h"

namespace {

using Texts = std::vector<std::string>;

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

}  // namespace

namespace {

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
