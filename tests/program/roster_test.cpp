// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/roster.h"
#include "client/client_state.h"
#include "common/identifiers.h"
#include "program_test.h"

namespace {

class RefreshRosterTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        RunningClient(true);
        scenario.AddNetwork("alpha", true, true);
        scenario.AddMember("5.1.2.3", "bob", StandinMark::Online);
        scenario.AddMember("5.1.2.4", "carol", StandinMark::Crossed);
        scenario.AddNetwork("beta", false, false);
        scenario.AddMember("5.1.2.5", "dan", StandinMark::Offline);
        OpenMain();
    }
};

// Each row as "level image grey text".
std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (int row = 0; row < TreeRowCount(GadgetRoster); ++row) {
        const TreeRowLook look = TreeRowAppearance(GadgetRoster, row);
        rows.push_back(std::to_string(look.level) + " " + std::to_string(look.image) +
                       (look.grey ? " grey " : " ") + TreeRowText(GadgetRoster, row));
    }
    return rows;
}

TEST_F(RefreshRosterTest, BuildsExpandedRowsWithDotsAndGreyText) {
    RefreshRoster();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"0 5 [alpha]", "1 5 5.1.2.3 - bob",
                                                "1 8 grey 5.1.2.4 - carol", "0 6 grey [beta]",
                                                "1 6 grey 5.1.2.5 - dan"}));
    EXPECT_TRUE(TreeRowExpanded(GadgetRoster, 0) && TreeRowExpanded(GadgetRoster, 3));
    EXPECT_EQ(TreeSelectedRow(GadgetRoster), -1);
    EXPECT_EQ(scenario.Calls(), (std::vector<std::string>{"hamachi list", "hamachi get-nicks"}));
}

TEST_F(RefreshRosterTest, UnchangedOutputKeepsSelectionAndCollapse) {
    RefreshRoster();
    TreeSelectRow(GadgetRoster, 1);
    TreeCollapseRow(GadgetRoster, 3);
    scenario.ClearLog();
    RefreshRoster();
    EXPECT_EQ(scenario.Calls(), std::vector<std::string>{"hamachi list"});
    EXPECT_EQ(TreeSelectedRow(GadgetRoster), 1);
    EXPECT_EQ(SelectedRowText(), "5.1.2.3 - bob");
    EXPECT_FALSE(TreeRowExpanded(GadgetRoster, 3));
}

TEST_F(RefreshRosterTest, AnyChangeRebuilds) {
    RefreshRoster();
    TreeSelectRow(GadgetRoster, 4);
    TreeCollapseRow(GadgetRoster, 0);
    scenario.ClearNetworks();
    scenario.AddNetwork("alpha", true, true);
    scenario.AddMember("5.1.2.3", "bob", StandinMark::Crossed);  // only a marker changed
    scenario.ClearLog();
    RefreshRoster();
    EXPECT_EQ(scenario.Calls(), (std::vector<std::string>{"hamachi list", "hamachi get-nicks"}));
    EXPECT_EQ(TreeRowCount(GadgetRoster), 2);
    EXPECT_EQ(TreeRowAppearance(GadgetRoster, 1).image, ImageDotCrossed);
    EXPECT_TRUE(TreeRowExpanded(GadgetRoster, 0));
    EXPECT_EQ(TreeSelectedRow(GadgetRoster), -1);
}

// The tree and the output it was built from are emptied together, so the
// same output after a logout rebuilds, and an empty one empties once.
TEST_F(RefreshRosterTest, ClearingAndEmptyOutput) {
    RefreshRoster();
    ShowClientState("off");  // as on logout
    EXPECT_EQ(TreeRowCount(GadgetRoster), 0);
    RefreshRoster();
    EXPECT_EQ(TreeRowCount(GadgetRoster), 5);
    scenario.SetAnswer("list", "");
    RefreshRoster();
    EXPECT_EQ(TreeRowCount(GadgetRoster), 0);
    scenario.ClearLog();
    RefreshRoster();
    EXPECT_EQ(scenario.Calls(), std::vector<std::string>{"hamachi list"});
}

// Member lines before any header hang under the first; 8-bit text comes
// back from the tree as it went in.
TEST_F(RefreshRosterTest, OddOutputs) {
    scenario.SetAnswer("list",
                       "    *  5.0.0.1          first\n       5.0.0.2          j\xF6rg\n"
                       "   [caf\xE9 \xA4]\n");
    RefreshRoster();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"0 5 5.0.0.1 - first", "1 6 grey 5.0.0.2 - j\xF6rg",
                                                "0 6 grey [caf\xE9 \xA4]"}));
    TreeSelectRow(GadgetRoster, 1);
    EXPECT_EQ(SelectedRowText(), "5.0.0.2 - j\xF6rg");
}

}  // namespace
