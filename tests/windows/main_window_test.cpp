// SPDX-License-Identifier: GPL-2.0-or-later
// The main window, its roster and the toolkit under it: layout, rows, menus, columns, clicks.
#include "mainwindow/main_window.h"

#include <sstream>

#include "app/event_loop.h"
#include "image_list.h"
#include "mainwindow/roster_view.h"
#include "window_test.h"

void PrintTo(const GadgetBox& box, std::ostream* out) {
    *out << box.x << "," << box.y << " " << box.width << "x" << box.height;
}

namespace {

using Texts = std::vector<std::string>;

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

class RosterViewTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        OpenLoggedIn();
    }
    // Each row as "level image grey text".
    static Texts Rows() {
        Texts rows;
        for (int row = 0; row < TreeRowCount(GadgetRoster); ++row) {
            const TreeRowLook look = TreeRowAppearance(GadgetRoster, row);
            rows.push_back(std::to_string(look.level) + " " + std::to_string(look.image) +
                           (look.grey ? " grey " : " ") + TreeRowText(GadgetRoster, row));
        }
        return rows;
    }
    void Choose(int item) { Dispatch(ProgramEvent{EventMenu, item, 0, 0}); }
};

TEST_F(RosterViewTest, RowsShowTheirStateExpandedAndUnselected) {
    ShowRoster(ParseRoster(" * [alpha]\n    *  5.1.2.3          bob\n    X  5.1.2.4          carol\n"
                           "   [caf\xE9 \xA4]\n       5.1.2.5          j\xF6rg\n"));
    EXPECT_EQ(Rows(), (Texts{"0 5 [alpha]", "1 5 5.1.2.3 - bob", "1 8 grey 5.1.2.4 - carol",
                             "0 6 grey [caf\xE9 \xA4]", "1 6 grey 5.1.2.5 - j\xF6rg"}));
    EXPECT_TRUE(TreeRowExpanded(GadgetRoster, 0) && TreeRowExpanded(GadgetRoster, 3));
    EXPECT_EQ(TreeSelectedRow(GadgetRoster), -1);
    TreeSelectRow(GadgetRoster, 4);
    EXPECT_EQ(SelectedRowText(), "5.1.2.5 - j\xF6rg");  // 8-bit text back as it went in
    EXPECT_EQ(SelectedMemberNetwork(), "caf\xE9 \xA4");
}

// The same list leaves the user's selection and collapsed rows alone.
TEST_F(RosterViewTest, UnchangedListKeepsSelectionAndCollapse) {
    TreeSelectRow(GadgetRoster, 1);
    TreeCollapseRow(GadgetRoster, 2);
    UpdateRoster();
    EXPECT_EQ(runner.calls, Texts{"hamachi list"});
    EXPECT_EQ(SelectedRowText(), "5.1.2.3 - bob");
    EXPECT_FALSE(TreeRowExpanded(GadgetRoster, 2));
}

// Each item reads the selection (after a Yes where it asks) and shows what the answer came to.
TEST_F(RosterViewTest, MenuItemsActOnTheSelectedRow) {
    const std::string drop = "Hamachi|Are you sure you want to irreversibly destroy selected network?",
                      evict = "Hamachi|Are you sure you want to evict this user?";
    struct Case {
        int item, row;
        BoxAnswer answer;
        Texts calls, shown;
        int8_t confirmEvict = 1;
    } const cases[] = {
        {ItemGoOnline, 2, BoxAnswer::Yes, {"hamachi go-online 'beta'"}, {}},
        {ItemGoOffline, -1, BoxAnswer::Yes, {"hamachi go-offline ''"}, {}},
        {ItemLeaveNetwork, 0, BoxAnswer::Yes, {"hamachi leave 'alpha'", "hamachi list"}, {}},
        {ItemDeleteNetwork, 2, BoxAnswer::Yes, {"hamachi delete 'beta'", "hamachi list"}, {drop}},
        {ItemDeleteNetwork, 2, BoxAnswer::No, {}, {drop}},
        {ItemEvictUser, 3, BoxAnswer::Closed, {}, {evict}},
        // the member's own network, not the first one
        {ItemEvictUser, 3, BoxAnswer::Yes, {"hamachi evict 'beta' '5.1.2.5'", "hamachi list"}, {evict}},
        {ItemEvictUser, 1, BoxAnswer::No, {"hamachi evict 'alpha' '5.1.2.3'", "hamachi list"}, {}, 2},
    };
    for (const Case& c : cases) {
        if (c.row < 0) ShowRoster(ParseRoster(List));  // none selected
        TreeSelectRow(GadgetRoster, c.row);
        Options.ConfirmEvict = c.confirmEvict;
        runner.calls.clear();
        boxes.shown.clear();
        boxes.answers = {c.answer};
        Choose(c.item);
        EXPECT_EQ(runner.calls, c.calls) << c.item << " on row " << c.row;
        EXPECT_EQ(boxes.shown, c.shown) << c.item << " on row " << c.row;
    }
    // Delete and evict read the selection only after the Yes.
    const std::tuple<int, int, int, const char*> late[] = {
        {ItemDeleteNetwork, 2, 0, "hamachi delete 'alpha'"},
        {ItemEvictUser, 3, 1, "hamachi evict 'alpha' '5.1.2.3'"}};
    for (const auto& [item, before, after, call] : late) {
        TreeSelectRow(GadgetRoster, before);
        Options.ConfirmEvict = 1;
        runner.calls.clear();
        boxes.answerer = [after = after] {
            TreeSelectRow(GadgetRoster, after);
            return BoxAnswer::Yes;
        };
        Choose(item);
        EXPECT_EQ(runner.calls.at(0), call);
    }
}

}  // namespace
