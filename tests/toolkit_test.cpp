#include "program_test.h"

namespace {

TEST(TextTest, LatinNineBecomesUtf8) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"caf\xE9", "caf\xC3\xA9"},
        {"\xA4", "\xE2\x82\xAC"},  // the euro sign, where Latin-1 has the currency sign
        {"\xBD\xBE", "\xC5\x93\xC5\xB8"},
        {"", ""}};
    for (const auto& [latin, utf8] : cases) EXPECT_EQ(Latin9ToUtf8(latin), utf8) << latin;
}

class ToolkitTest : public ProgramTest {};

TEST_F(ToolkitTest, ScriptedBoxesAreAnsweredInOrderAndRecorded) {
    ScriptBoxes({{BoxAnswer::No, ""}, {BoxAnswer::Yes, ""}, {BoxAnswer::Ok, "/tmp/x.tar"}});
    EXPECT_EQ(AskQuestion("T1", "q1"), BoxAnswer::No);
    EXPECT_TRUE(AskYesNo("T2", "q2"));
    EXPECT_EQ(ChooseSaveFile("Save", "/home/u/a.tar", {}), "/tmp/x.tar");
    // no answer left: recorded, taken as closed
    EXPECT_EQ(AskQuestion("T3", "q3"), BoxAnswer::Closed);
    MessageOk("T4", "m");
    const auto& log = ScriptedBoxLog();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0].kind, BoxKind::YesNo);
    EXPECT_EQ(log[2].kind, BoxKind::SaveFile);
    EXPECT_EQ(log[2].text, "/home/u/a.tar");
    EXPECT_TRUE(log[2].answered);
    EXPECT_FALSE(log[3].answered);
    EXPECT_EQ(Boxes()[4], "T4|m");
}

TEST_F(ToolkitTest, EventsComeOldestFirstAndDrainsDropThem) {
    PostEvent(ProgramEvent{EventMenu, 1, 0, 0});
    PostEvent(ProgramEvent{EventGadget, 5, 1, 0});
    ProgramEvent event;
    ASSERT_TRUE(PollEvent(&event));
    EXPECT_EQ(event.object, 1);
    DrainEvents();
    EXPECT_FALSE(PollEvent(&event));
}

TEST_F(ToolkitTest, OpeningAnOpenWindowNumberReplacesIt) {
    ASSERT_TRUE(OpenWindow(7, "First", 100, 100, WindowCentered));
    ASSERT_TRUE(AddLabel(74, 7, 0, 0, 50, 15, "old", Align::Left));
    ASSERT_TRUE(OpenWindow(7, "Second", 100, 100, WindowCentered));
    EXPECT_FALSE(GadgetExists(74));
    CloseWindow(7);
    EXPECT_FALSE(WindowIsOpen(7));
}

TEST_F(ToolkitTest, TreeRowsKeepDisplayOrderAcrossLevels) {
    ASSERT_TRUE(OpenWindow(1, "t", 250, 270, WindowResizable));
    ASSERT_TRUE(AddTree(4, 1, 0, 0, 200, 200));
    TreeAppend(4, 0, 5, "[a]");
    TreeAppend(4, 1, 5, "a1");
    TreeAppend(4, 1, 5, "a2");
    TreeAppend(4, 0, 6, "[b]");
    TreeAppend(4, 1, 6, "b1");
    TreeExpandAll(4);
    for (int row = 0; row < 5; ++row) {
        TreeSelectRow(4, row);
        EXPECT_EQ(TreeSelectedRow(4), row);
    }
    EXPECT_EQ(TreeSelectedText(4), "b1");
    EXPECT_EQ(TreeRowText(4, 5), "");
    EXPECT_EQ(TreeRowText(4, -1), "");
    TreeExpandRow(4, 99);  // ignored
    TreeClear(4);
    EXPECT_EQ(TreeRowCount(4), 0);
    EXPECT_EQ(TreeSelectedRow(4), -1);
}

}  // namespace
