// SPDX-License-Identifier: GPL-2.0-or-later
#include "image_list.h"
#include "window_test.h"

namespace {

class ToolkitTest : public WindowTest {};

// The bytes themselves are checked where they are made (scripts/make-images).
TEST_F(ToolkitTest, EveryListedImageDecodesAtItsSize) {
    for (const EmbeddedImage& image : EmbeddedImages) {
        EXPECT_EQ(ImageWidth(image.number), image.width) << image.file;
        EXPECT_EQ(ImageHeight(image.number), image.height) << image.file;
    }
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
