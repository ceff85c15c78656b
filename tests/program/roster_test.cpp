#include "client/client_state.h"
#include "client/roster.h"
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

TEST_F(RefreshRosterTest, BuildsExpandedRowsWithDotsAndGreyText) {
    RefreshRoster();
    ASSERT_EQ(TreeRowCount(GadgetRoster), 5);
    const std::vector<std::string> texts = {"[alpha]", "5.1.2.3 - bob", "5.1.2.4 - carol", "[beta]",
                                            "5.1.2.5 - dan"};
    const int images[] = {ImageDotOnline, ImageDotOnline, ImageDotCrossed, ImageDotOffline,
                          ImageDotOffline};
    const bool grey[] = {false, false, true, true, true};
    const int levels[] = {0, 1, 1, 0, 1};
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(TreeRowText(GadgetRoster, row), texts[row]);
        const TreeRowLook look = TreeRowAppearance(GadgetRoster, row);
        EXPECT_EQ(look.image, images[row]) << row;
        EXPECT_EQ(look.grey, grey[row]) << row;
        EXPECT_EQ(look.level, levels[row]) << row;
    }
    EXPECT_TRUE(TreeRowExpanded(GadgetRoster, 0));
    EXPECT_TRUE(TreeRowExpanded(GadgetRoster, 3));
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

TEST_F(RefreshRosterTest, ClearingForgetsTheOutputSoIdenticalOutputRebuilds) {
    RefreshRoster();
    ShowClientState("off");  // as on logout
    EXPECT_EQ(TreeRowCount(GadgetRoster), 0);
    scenario.ClearLog();
    RefreshRoster();
    EXPECT_EQ(TreeRowCount(GadgetRoster), 5);
    EXPECT_EQ(scenario.Calls(), (std::vector<std::string>{"hamachi list", "hamachi get-nicks"}));
}

TEST_F(RefreshRosterTest, EmptyOutputEmptiesTheTreeOnce) {
    RefreshRoster();
    scenario.SetAnswer("list", "");
    RefreshRoster();
    EXPECT_EQ(TreeRowCount(GadgetRoster), 0);
    EXPECT_EQ(LastListOutput, "");
    scenario.ClearLog();
    RefreshRoster();
    EXPECT_EQ(scenario.Calls(), std::vector<std::string>{"hamachi list"});
}

TEST_F(RefreshRosterTest, MemberLinesBeforeAnyHeaderHangUnderTheFirst) {
    scenario.SetAnswer("list", "    *  5.0.0.1          first\n       5.0.0.2          second\n");
    RefreshRoster();
    ASSERT_EQ(TreeRowCount(GadgetRoster), 2);
    EXPECT_EQ(TreeRowAppearance(GadgetRoster, 0).level, 0);
    EXPECT_EQ(TreeRowAppearance(GadgetRoster, 1).level, 1);
    TreeSelectRow(GadgetRoster, 1);
    EXPECT_EQ(SelectedRowText(), "5.0.0.2 - second");
}

TEST_F(RefreshRosterTest, LatinTextRoundTripsThroughTheTree) {
    scenario.SetAnswer("list", "   [caf\xE9 \xA4]\n       5.0.0.1          j\xF6rg\n");
    RefreshRoster();
    EXPECT_EQ(TreeRowText(GadgetRoster, 0), "[caf\xE9 \xA4]");
    TreeSelectRow(GadgetRoster, 1);
    EXPECT_EQ(SelectedRowText(), "5.0.0.1 - j\xF6rg");
}

}  // namespace
