// SPDX-License-Identifier: GPL-2.0-or-later
// The main window and the toolkit under it: layout, images, tree columns, clicks.
#include "mainwindow/main_window.h"

#include <sstream>

#include "app/event_loop.h"
#include "window_test.h"

void PrintTo(const GadgetBox& box, std::ostream* out) {
    *out << box.x << "," << box.y << " " << box.width << "x" << box.height;
}

namespace {

class MainWindowTest : public WindowTest {};

TEST_F(MainWindowTest, LargerSizesLayTheGadgetsOut) {
    Client.Identity = "5.44.1.9";
    Client.Nickname = "ravenfan";
    ASSERT_TRUE(OpenMainWindow());
    const auto size = [] {
        int width = 0, height = 0;
        GetWindowSize(MainWindow, &width, &height);
        return std::make_pair(width, height);
    };
    ASSERT_TRUE(PumpUntil([&] { return size() == std::make_pair(250, 270); }));
    DrainEvents();
    ShowStatusLine("offline");
    ResizeWindow(MainWindow, 201, 251);
    ASSERT_TRUE(PumpUntil([] { return QueuedEventCount() > 0; }));
    LoopPass();
    EXPECT_EQ(size(), std::make_pair(201, 251));
    const std::pair<int, GadgetBox> laid[] = {
        {GadgetIdentity, {5, 30, 191, 20}},   {GadgetStatus, {5, 50, 191, 20}},
        {GadgetRoster, {5, 75, 191, 126}},    {GadgetLogin, {5, 206, 43, 43}},
        {GadgetNetworks, {109, 206, 43, 43}}, {GadgetSettings, {154, 206, 43, 43}}};
    for (const auto& [gadget, box] : laid) EXPECT_EQ(GadgetGeometry(gadget), box) << gadget;
    // the nickname replaces whatever status message was shown
    EXPECT_EQ(GadgetText(GadgetStatus), "ravenfan");
    EXPECT_EQ(MainWindowShown.StatusLine, "ravenfan");
    EXPECT_EQ(GadgetText(GadgetIdentity), "5.44.1.9");
}

// Presses of a button "1", "d1" (double), "t1" (triple); a release "^1" reports the click.
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
            const auto type = w[0] == 'd' ? PressType::Double
                              : w[0] == 't' ? PressType::Triple : PressType::Single;
            if (w[0] == '^')
                seen.push_back(ClickReleased(state, button));
            else
                ClickPressed(state, type, button);
        }
        EXPECT_EQ(seen, reported) << steps;
    }
}

// The column covers the widest row in pixels, not bytes: narrow rows must not hide a wide one.
TEST_F(MainWindowTest, TreeColumnCoversTheWidestRowInPixels) {
    ASSERT_TRUE(OpenWindow(1, "t", 250, 270, WindowResizable));
    ASSERT_TRUE(AddTree(4, 1, 0, 0, 200, 200));
    const std::string wide = "[" + std::string(22, 'W') + "]";
    const std::string narrow = std::string(40, 'i') + "\xE9";
    TreeAppend(4, 0, 5, wide);
    for (int row = 0; row < 30; ++row) TreeAppend(4, 1, 5, narrow);
    const int text = TreeTextWidth(4, wide);
    ASSERT_GT(text, TreeTextWidth(4, narrow));
    const int column = TreeColumnWidth(4);
    EXPECT_GE(column, text);
    EXPECT_LT(column, text + 80) << "no more than the indents and the picture";
}

}  // namespace
