#include "common/identifiers.h"
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

// The bytes themselves are checked where they are made (scripts/make-images).
TEST_F(ToolkitTest, EveryListedImageDecodesAtItsSize) {
    for (const EmbeddedImage& image : EmbeddedImages) {
        EXPECT_EQ(ImageWidth(image.number), image.width) << image.file;
        EXPECT_EQ(ImageHeight(image.number), image.height) << image.file;
    }
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
    TreeClear(4);
    EXPECT_EQ(TreeRowCount(4), 0);
    EXPECT_EQ(TreeSelectedRow(4), -1);
}

// The column must be as wide as the widest row in pixels, not in bytes: many
// rows of narrow letters must not hide a shorter row of wide ones.
TEST_F(ToolkitTest, TreeColumnCoversTheWidestRowInPixels) {
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
