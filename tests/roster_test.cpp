#include "client/roster.h"
#include "client/client_state.h"
#include "mainwindow/identifiers.h"
#include "program_test.h"

void PrintTo(const RosterRow& row, std::ostream* out) {
    *out << "{" << row.level << ", \"" << row.text << "\", " << static_cast<int>(row.state) << "}";
}

namespace {

struct ParseCase {
    const char* name;
    const char* output;
    std::vector<RosterRow> rows;
};

constexpr RowState On = RowState::Online;
constexpr RowState Cross = RowState::Crossed;
constexpr RowState Off = RowState::Offline;

TEST(ParseRosterTest, LinesBecomeRows) {
    const ParseCase cases[] = {
        {"headers with and without the marker",
         " * [alpha]\n   [beta]\n",
         {{0, "[alpha]", On}, {0, "[beta]", Off}}},
        {"member columns",
         "   [n]\n    *  5.1.2.3          bob                       direct\n",
         {{0, "[n]", Off}, {1, "5.1.2.3 - bob", On}}},
        {"crossed and both markers",
         "   [n]\n    X  5.1.2.4          carol\n   *X  5.1.2.5          dan X \n",
         {{0, "[n]", Off}, {1, "5.1.2.4 - carol", Cross}, {1, "5.1.2.5 - dan X", On}}},
        {"fields are fixed columns, not words",
         "   [n]\n1234567ADDRESS-16-CHARSxNICKNAME-OF-25-CHARACTERSyzzz\n",
         {{0, "[n]", Off}, {1, "ADDRESS-16-CHARS - NICKNAME-OF-25-CHARACTERS", Off}}},
        {"a nickname holding a bracket makes a header",
         "   [n]\n       5.1.2.3          [weird]\n",
         {{0, "[n]", Off}, {0, "5.1.2.3          [weird]", Off}}},
        {"short and empty lines",
         "   [n]\nshort\n\n       5.1.2\n",
         {{0, "[n]", Off}, {1, " - ", Off}, {1, " - ", Off}, {1, "5.1.2 - ", Off}}},
        {"a final line without a line feed is not taken",
         "   [n]\n       5.1.2.3          bob",
         {{0, "[n]", Off}}},
        {"carriage returns stay in the line", "   [n]\r\n", {{0, "[n]\r", Off}}},
        {"stars leave the header text", "** [st*ar] *\n", {{0, "[star]", On}}},
        {"nothing", "", {}},
    };
    for (const ParseCase& c : cases) EXPECT_EQ(ParseRoster(c.output), c.rows) << c.name;
}

TEST(RowTextTest, NamesAndAddressesComeFromRowTexts) {
    const std::pair<const char*, const char*> networks[] = {
        {"[alpha]", "alpha"}, {" [ two words ] ", "two words"}, {"[a]b[c]", "abc"}, {"", ""}};
    for (const auto& [row, name] : networks) EXPECT_EQ(NetworkName(row), name) << row;
    const std::pair<const char*, const char*> members[] = {{"5.1.2.3 - bob", "5.1.2.3"},
                                                           {"5.1.2.3 - my-nick", "5.1.2.3"},
                                                           {" - ", ""},
                                                           {"no dash", "no dash"},
                                                           {"", ""}};
    for (const auto& [row, address] : members) EXPECT_EQ(MemberAddress(row), address) << row;
    EXPECT_TRUE(IsNetworkRow("x [y"));
    EXPECT_FALSE(IsNetworkRow("5.1.2.3 - bob"));
}

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
