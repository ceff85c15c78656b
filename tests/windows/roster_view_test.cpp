// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/roster_view.h"

#include "app/event_loop.h"
#include "image_list.h"
#include "mainwindow/main_window.h"
#include "window_test.h"

namespace {

using Texts = std::vector<std::string>;

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
