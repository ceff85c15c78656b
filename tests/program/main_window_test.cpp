// SPDX-License-Identifier: GPL-2.0-or-later
#include <sstream>

#include "mainwindow/main_window.h"
#include "app/event_loop.h"
#include "client/client_state.h"
#include "client/roster.h"
#include "common/identifiers.h"
#include "program_test.h"

void PrintTo(const GadgetBox& box, std::ostream* out) {
    *out << box.x << "," << box.y << " " << box.width << "x" << box.height;
}

namespace {

class MainWindowTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        RunningClient(true);
        OpenMain();
        ClientIdentity = Identity;
        ClientNickname = Nickname;
        ASSERT_TRUE(PumpUntil([this] { return Size() == std::make_pair(250, 270); }));
        DrainEvents();
        DropQueuedEvents();
    }

    // Resizes as the user would and lets the loop handle the size change.
    void UserResizes(int width, int height) {
        ResizeWindow(MainWindow, width, height);
        ASSERT_TRUE(PumpUntil([] { return QueuedEventCount() > 0; }));
        LoopPass();
        PumpUntil([&] { return false; }, 100);  // let any snap settle
    }

    std::pair<int, int> Size() {
        int width = 0;
        int height = 0;
        GetWindowSize(MainWindow, &width, &height);
        return {width, height};
    }
};

TEST_F(MainWindowTest, LargerSizesLayTheGadgetsOut) {
    SetGadgetText(GadgetStatus, "offline");
    UserResizes(201, 251);
    EXPECT_EQ(Size(), std::make_pair(201, 251));
    EXPECT_EQ(GadgetGeometry(GadgetIdentity), (GadgetBox{5, 30, 191, 20}));
    EXPECT_EQ(GadgetGeometry(GadgetStatus), (GadgetBox{5, 50, 191, 20}));
    EXPECT_EQ(GadgetGeometry(GadgetRoster), (GadgetBox{5, 75, 191, 126}));
    EXPECT_EQ(GadgetGeometry(GadgetLogin), (GadgetBox{5, 206, 43, 43}));
    EXPECT_EQ(GadgetGeometry(GadgetNetworks), (GadgetBox{109, 206, 43, 43}));
    EXPECT_EQ(GadgetGeometry(GadgetSettings), (GadgetBox{154, 206, 43, 43}));
    // the nickname replaces whatever status message was shown
    EXPECT_EQ(GadgetText(GadgetStatus), Nickname);
    EXPECT_EQ(GadgetText(GadgetIdentity), Identity);
}

TEST_F(MainWindowTest, TrayDoubleClicksDoNothing) {
    HideMainWindow();
    Dispatch(ProgramEvent{EventTray, 1, MainWindow, LeftDoubleClick});
    Dispatch(ProgramEvent{EventTray, 1, MainWindow, RightDoubleClick});
    EXPECT_FALSE(WindowIsVisible(MainWindow));
    EXPECT_FALSE(PopupMenuShown(MenuTray));
    Dispatch(ProgramEvent{EventTray, 1, MainWindow, RightClick});
    EXPECT_TRUE(PopupMenuShown(MenuTray));  // also while the window is hidden
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
