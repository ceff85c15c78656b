// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "client/roster.h"
#include "core_test.h"

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
        {"a capital X is a crossed mark only between blanks",
         "   [n]\n       5.1.2.4          Xavier MAX\n       5.1.2.5          al X bo\n",
         {{0, "[n]", Off}, {1, "5.1.2.4 - Xavier MAX", Off}, {1, "5.1.2.5 - al X bo", Cross}}},
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

}  // namespace

namespace {

class RefreshRosterTest : public CoreTest {};

// Only a changed output rebuilds, and only then are the nicknames asked for;
// a list that cannot be run leaves the rows as they are.
TEST_F(RefreshRosterTest, RebuildsOnlyOnAChangedOutput) {
    struct Case {
        const char* last;
        const char* answer;  // nullptr: cannot be run
        int rows;            // -1: nothing to rebuild
        std::vector<std::string> calls;
    };
    const std::string list = "hamachi list", nicks = "hamachi get-nicks";
    const Case cases[] = {
        {"", "   [n]\n", 1, {list, nicks}},
        {"   [n]\n", "   [n]\n", -1, {list}},
        {"   [n]\n", "", 0, {list, nicks}},  // emptied once
        {"", "", -1, {list}},
        {"   [n]\n", nullptr, -1, {list}},
    };
    for (const Case& c : cases) {
        Roster.LastListOutput = c.last;
        runner.calls.clear();
        c.answer ? runner.Answer(list, c.answer) : runner.CannotRun(list);
        const auto update = RefreshRoster();
        EXPECT_EQ(update ? int(update->rows.size()) : -1, c.rows) << c.last << "->" << c.answer;
        EXPECT_EQ(update ? update->previousOutput : c.last, c.last);
        EXPECT_EQ(runner.calls, c.calls);
        EXPECT_EQ(Roster.LastListOutput, c.rows < 0 ? c.last : c.answer);
    }
}

TEST(MemberChangesTest, OnlyMembersGoingBetweenOnlineAndOfflineCount) {
    const std::string before =
        " * [a]\n    *  5.0.0.1          up\n       5.0.0.2          down\n"
        "    X  5.0.0.3          crossed\n    *  5.0.0.4          gone\n"
        "   [b]\n    *  5.0.0.1          same address elsewhere\n";
    const std::string after =
        " * [a]\n       5.0.0.1          up\n    *  5.0.0.2          down renamed\n"
        "    *  5.0.0.3          crossed\n    *  5.0.0.5          new\n"
        "   [b]\n    *  5.0.0.1          same address elsewhere\n";
    EXPECT_EQ(MemberChanges(before, after),
              (std::vector<MemberChange>{{"[a]", "5.0.0.1 - up", false},
                                         {"[a]", "5.0.0.2 - down renamed", true}}));
    EXPECT_TRUE(MemberChanges("", after).empty());
}

}  // namespace
