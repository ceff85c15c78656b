// Checks the embedded image bytes themselves, independently of any image decoder.
#include <gio/gio.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>

#include "corvane_resources.h"
#include "image_list.h"

void PrintTo(const EmbeddedImage& image, std::ostream* os) {
    *os << image.number << " " << image.file;
}

namespace {

// Registered by hand, and once: a second time would link it into GLib's list twice.
[[maybe_unused]] const bool kRegistered = (corvane_register_resource(), true);

std::string Bytes(const std::string& file) {
    GBytes* bytes = g_resources_lookup_data(("/corvane/images/" + file).c_str(),
                                            G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
    if (!bytes) return "";
    gsize size = 0;
    const char* data = static_cast<const char*>(g_bytes_get_data(bytes, &size));
    std::string copy(data, size);
    g_bytes_unref(bytes);
    return copy;
}

uint32_t Number(const std::string& d, size_t at, int n, bool bigEndian = false) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = v << 8 | uint8_t(d[at + (bigEndian ? i : n - 1 - i)]);
    return v;
}

class ImageFormat : public testing::TestWithParam<EmbeddedImage> {};

TEST_P(ImageFormat, HeaderIsExactlyAsRequired) {
    const EmbeddedImage& want = GetParam();
    const std::string d = Bytes(want.file);
    const std::string encoding = want.encoding;
    ASSERT_GT(d.size(), 64u) << "missing or truncated";
    if (encoding.rfind("bmp", 0) == 0) {
        const int depth = std::stoi(encoding.substr(3));
        EXPECT_EQ(d.substr(0, 2), "BM");
        EXPECT_EQ(Number(d, 2, 4), d.size()) << "file size field";
        EXPECT_EQ(Number(d, 14, 4), 40u) << "info header size";
        EXPECT_EQ(Number(d, 18, 4), uint32_t(want.width));
        EXPECT_EQ(Number(d, 22, 4), uint32_t(want.height)) << "positive: bottom-up rows";
        EXPECT_EQ(Number(d, 26, 2), 1u) << "planes";
        EXPECT_EQ(Number(d, 28, 2), uint32_t(depth));
        EXPECT_EQ(Number(d, 30, 4), 0u) << "BI_RGB";
        const uint32_t used = Number(d, 46, 4), palette = depth == 8 ? (used ? used : 256) : 0;
        EXPECT_LE(used, depth == 8 ? 256u : 0u) << "palette entries";
        EXPECT_EQ(Number(d, 10, 4), 54 + 4 * palette) << "pixels follow the palette";
        const size_t stride = (size_t(want.width) * depth / 8 + 3) & ~size_t(3);
        EXPECT_EQ(d.size() - Number(d, 10, 4), stride * want.height) << "rows padded to 4 bytes";
    } else {
        EXPECT_EQ(d.substr(0, 16), std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16));
        EXPECT_EQ(Number(d, 16, 4, true), uint32_t(want.width));
        EXPECT_EQ(Number(d, 20, 4, true), uint32_t(want.height));
        EXPECT_EQ(d[24], 8) << "bit depth";
        EXPECT_EQ(d[25], encoding == "png-rgba" ? 6 : 3) << "colour type";
    }
}

INSTANTIATE_TEST_SUITE_P(Embedded, ImageFormat, testing::ValuesIn(EmbeddedImages),
                         [](const auto& info) { return "image" + std::to_string(info.param.number); });

// Roster dots are their own hue on average; the emblem has real transparency.
TEST(EmbeddedImages, DotColoursAndEmblemAlpha) {
    for (const auto& [file, hue] :
         {std::pair{"dot_green.bmp", "010"}, {"dot_red.bmp", "100"}, {"dot_yellow.bmp", "110"}}) {
        const std::string d = Bytes(file);
        ASSERT_EQ(d.size(), 54u + 8 * 8 * 3) << file;
        int sum[3] = {};  // red, green, blue; stored as blue, green, red
        for (size_t i = 54; i < d.size(); ++i) sum[2 - (i - 54) % 3] += uint8_t(d[i]);
        const int low = *std::min_element(sum, sum + 3);
        std::string raised;  // which channels stand out
        for (int channel : sum) raised += channel > low + 40 * 64 ? '1' : '0';
        EXPECT_EQ(raised, hue) << file;
    }
    const std::string emblem = Bytes("emblem.bmp");
    ASSERT_EQ(emblem.size(), 54u + 32 * 32 * 4);
    EXPECT_EQ(uint8_t(emblem[54 + 3]), 0) << "corner alpha";
    EXPECT_EQ(uint8_t(emblem[54 + (16 * 32 + 16) * 4 + 3]), 255) << "centre alpha";
}

}  // namespace
