// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/main_window.h"

#include <sstream>

#include "app/event_loop.h"
#include "image_list.h"
#include "window_test.h"

void PrintTo(const GadgetBox& box, std::ostream* out) {
    *out << box.x << "," << box.y << " " << box.width << "x" << box.height;
}

namespace {

class MainWindowTest : public WindowTest {
  protected:
    std::pair<int, int> Size() {
        int width = 0;
        int height = 0;
        GetWindowSize(MainWindow, &width, &height);
        return {width, height};
    }
};

TEST_F(MainWindowTest, LargerSizesLayTheGadgetsOut) {
    Client.Identity = "5.44.1.9";
    Client.Nickname = "ravenfan";
    ASSERT_TRUE(OpenMainWindow());
    ASSERT_TRUE(PumpUntil([this] { return Size() == std::make_pair(250, 270); }));
    DrainEvents();
    ShowStatusLine("offline");
    ResizeWindow(MainWindow, 201, 251);
    ASSERT_TRUE(PumpUntil([] { return QueuedEventCount() > 0; }));
    LoopPass();
    EXPECT_EQ(Size(), std::make_pair(201, 251));
    const std::pair<int, GadgetBox> laid[] = {
        {GadgetIdentity, {5, 30, 191, 20}}, {GadgetStatus, {5, 50, 191, 20}},
        {GadgetRoster, {5, 75, 191, 126}},  {GadgetLogin, {5, 206, 43, 43}},
        {GadgetNetworks, {109, 206, 43, 43}}, {GadgetSettings, {154, 206, 43, 43}}};
    for (const auto& [gadget, box] : laid) EXPECT_EQ(GadgetGeometry(gadget), box) << gadget;
    // the nickname replaces whatever status message was shown
    EXPECT_EQ(GadgetText(GadgetStatus), "ravenfan");
    EXPECT_EQ(MainWindowShown.StatusLine, "ravenfan");
    EXPECT_EQ(GadgetText(GadgetIdentity), "5.44.1.9");
}

// Logged out, only the login button works and the roster is empty; logged
// in, the state file's identity and nickname show.
TEST_F(MainWindowTest, TheWindowFollowsTheClientsState) {
    OpenLoggedIn();
    EXPECT_EQ(TreeRowCount(GadgetRoster), 4);
    for (const bool on : {false, true}) {
        ShowClientState(on ? "on" : "off");
        for (int gadget : {GadgetIdentity, GadgetRoster, GadgetNetworks, GadgetSettings}) {
            EXPECT_EQ(GadgetSensitive(gadget), on) << gadget;
        }
        EXPECT_TRUE(GadgetSensitive(GadgetLogin));
    }
    EXPECT_EQ(TreeRowCount(GadgetRoster), 0);
    EXPECT_TRUE(Roster.LastListOutput.empty()) << "so the same list rebuilds";
    EXPECT_EQ(GadgetText(GadgetStatus), "offline") << "no state file to read";
    ShowLoginButton(false);
    EXPECT_EQ(ButtonImage(GadgetLogin), ImageLoggedOut);
}

TEST_F(MainWindowTest, TrayDoubleClicksDoNothing) {
    ASSERT_TRUE(OpenMainWindow());
    HideMainWindow();
    Dispatch(ProgramEvent{EventTray, 1, MainWindow, LeftDoubleClick});
    Dispatch(ProgramEvent{EventTray, 1, MainWindow, RightDoubleClick});
    EXPECT_FALSE(WindowIsVisible(MainWindow));
    EXPECT_FALSE(PopupMenuShown(MenuTray));
    Dispatch(ProgramEvent{EventTray, 1, MainWindow, RightClick});
    EXPECT_TRUE(PopupMenuShown(MenuTray));  // also while the window is hidden
    Dispatch(ProgramEvent{EventTray, 1, MainWindow, LeftClick});
    EXPECT_TRUE(WindowIsVisible(MainWindow));
}

// Presses are written "1" (single), "d1" (double), "t1" (triple) with the
// button; a release "^1" reports what the click was.
TEST(ClickTest, DoublePressMarksTheReleaseThatFollows) {
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"1 ^1 3 ^3", {LeftClick, RightClick}},
        {"1 ^1 1 d1 ^1 1 ^1", {LeftClick, LeftDoubleClick, LeftClick}},  // a quick pair
        {"d3 ^3", {RightDoubleClick}},
        {"d1 t1 ^1", {LeftClick}},              // a triple press clears the mark
        {"d1 2 ^2 ^1", {-1, LeftDoubleClick}},  // other buttons are no clicks, and keep it
    };
    for (const auto& [steps, reported] : cases) {
        ClickState state;
        std::vector<int> seen;
        std::istringstream words(steps);
        for (std::string w; words >> w;) {
            const int button = w.back() - '0';
            if (w[0] == '^') {
                seen.push_back(ClickReleased(state, button));
            } else {
                ClickPressed(state,
                             w[0] == 'd'   ? PressType::Double
                             : w[0] == 't' ? PressType::Triple
                                           : PressType::Single,
                             button);
            }
        }
        EXPECT_EQ(seen, reported) << steps;
    }
}

}  // namespace
