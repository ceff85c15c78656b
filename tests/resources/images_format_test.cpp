// Checks the embedded image bytes themselves (headers and a few telling pixels),
// independently of any image decoder.
#include <gio/gio.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <set>
#include <string>

#include "corvane_resources.h"

namespace {

enum class Format { kBmp, kPng };

struct Expected {
    const char* file;
    Format format;
    int width;
    int height;
    int depth;  // BMP bits per pixel, or PNG colour type
};

constexpr Expected kImages[] = {
    {"banner.bmp", Format::kBmp, 1024, 25, 8},
    {"power_on.bmp", Format::kBmp, 32, 32, 24},
    {"networks.bmp", Format::kBmp, 32, 32, 24},
    {"settings.bmp", Format::kBmp, 32, 32, 24},
    {"dot_green.bmp", Format::kBmp, 8, 8, 24},
    {"dot_red.bmp", Format::kBmp, 8, 8, 24},
    {"power_off.bmp", Format::kBmp, 32, 32, 24},
    {"dot_yellow.bmp", Format::kBmp, 8, 8, 24},
    {"tab_system_on.bmp", Format::kBmp, 80, 60, 8},
    {"tab_system_off.bmp", Format::kBmp, 80, 60, 8},
    {"tab_status_off.bmp", Format::kBmp, 80, 60, 8},
    {"tab_status_on.bmp", Format::kBmp, 80, 60, 8},
    {"emblem.bmp", Format::kBmp, 32, 32, 32},
    {"tray.png", Format::kPng, 20, 20, 6},
    {"create_network.bmp", Format::kBmp, 32, 32, 24},
    {"join_network.bmp", Format::kBmp, 32, 32, 24},
    {"about.png", Format::kPng, 80, 80, 3},
};

// Names the case by its file in test names and failure messages.
void PrintTo(const Expected& e, std::ostream* os) {
    *os << e.file;
}

using Rgba = std::array<int, 4>;

// With manual registration the resource only exists once registered.
GResource* bundle() {
    static GResource* resource = [] {
        corvane_register_resource();
        return corvane_get_resource();
    }();
    return resource;
}

class Image {
  public:
    explicit Image(const std::string& file) {
        const std::string path = "/corvane/images/" + file;
        bytes_ =
            g_resource_lookup_data(bundle(), path.c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
        if (bytes_) data_ = static_cast<const uint8_t*>(g_bytes_get_data(bytes_, &size_));
    }
    ~Image() {
        if (bytes_) g_bytes_unref(bytes_);
    }
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    bool found() const { return data_ != nullptr; }
    size_t size() const { return size_; }
    const uint8_t* data() const { return data_; }
    uint32_t le(size_t at, int n) const {
        uint32_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = v << 8 | data_[at + i];
        return v;
    }
    uint32_t be32(size_t at) const {
        return uint32_t(data_[at]) << 24 | data_[at + 1] << 16 | data_[at + 2] << 8 | data_[at + 3];
    }
    int32_t width() const { return int32_t(le(18, 4)); }
    int32_t height() const { return int32_t(le(22, 4)); }

    // BMP pixel, (0, 0) at the top left although rows are stored bottom-up.
    Rgba pixel(int x, int y) const {
        const int bpp = int(le(28, 2));
        const size_t stride = (size_t(width()) * bpp / 8 + 3) & ~size_t(3);
        const uint8_t* p = data_ + le(10, 4) + (height() - 1 - y) * stride + x * bpp / 8;
        if (bpp == 8) p = data_ + 54 + 4 * *p;
        return {p[2], p[1], p[0], bpp == 32 ? p[3] : 255};
    }

  private:
    GBytes* bytes_ = nullptr;
    const uint8_t* data_ = nullptr;
    gsize size_ = 0;
};

class ImageFormat : public testing::TestWithParam<Expected> {};

TEST_P(ImageFormat, HasExactlyTheRequiredHeader) {
    const Expected& want = GetParam();
    Image img(want.file);
    ASSERT_TRUE(img.found());
    ASSERT_GT(img.size(), 64u);
    if (want.format == Format::kBmp) {
        const uint8_t* d = img.data();
        EXPECT_EQ(0, std::memcmp(d, "BM", 2));
        EXPECT_EQ(img.le(2, 4), img.size()) << "file size field";
        EXPECT_EQ(img.le(14, 4), 40u) << "BITMAPINFOHEADER";
        EXPECT_EQ(img.width(), want.width);
        EXPECT_EQ(img.height(), want.height) << "positive means bottom-up";
        EXPECT_EQ(img.le(26, 2), 1u) << "planes";
        EXPECT_EQ(int(img.le(28, 2)), want.depth);
        EXPECT_EQ(img.le(30, 4), 0u) << "BI_RGB";
        const uint32_t used = img.le(46, 4);
        const uint32_t entries = want.depth == 8 ? (used ? used : 256) : 0;
        if (want.depth == 8) {
            EXPECT_LE(used, 256u);
        }
        EXPECT_EQ(img.le(10, 4), 54 + 4 * entries) << "pixels follow the colour table";
        const size_t stride = (size_t(want.width) * want.depth / 8 + 3) & ~size_t(3);
        EXPECT_EQ(img.size() - img.le(10, 4), stride * want.height);
    } else {
        static const uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
        EXPECT_EQ(0, std::memcmp(img.data(), kSignature, 8));
        EXPECT_EQ(0, std::memcmp(img.data() + 12, "IHDR", 4));
        EXPECT_EQ(int(img.be32(16)), want.width);
        EXPECT_EQ(int(img.be32(20)), want.height);
        EXPECT_EQ(img.data()[24], 8) << "bit depth";
        EXPECT_EQ(img.data()[25], want.depth) << "colour type";
    }
}

INSTANTIATE_TEST_SUITE_P(Embedded, ImageFormat, testing::ValuesIn(kImages), [](const auto& info) {
    std::string name = info.param.file;
    for (char& c : name)
        if (!g_ascii_isalnum(c)) c = '_';
    return name;
});

TEST(EmbeddedImages, BundleHoldsExactlyTheListedFiles) {
    char** names = g_resource_enumerate_children(bundle(), "/corvane/images/",
                                                 G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
    ASSERT_NE(names, nullptr);
    std::set<std::string> found(names, names + g_strv_length(names));
    g_strfreev(names);
    std::set<std::string> wanted;
    for (const Expected& e : kImages) wanted.insert(e.file);
    EXPECT_EQ(found, wanted);
}

// Roster dots: mostly their own hue.
TEST(EmbeddedImages, DotsArePredominantlyTheirColour) {
    struct Case {
        const char* file;
        bool r, g, b;  // which channels are near the brightest one
    };
    for (const Case& c : {Case{"dot_green.bmp", 0, 1, 0}, Case{"dot_red.bmp", 1, 0, 0},
                          Case{"dot_yellow.bmp", 1, 1, 0}}) {
        SCOPED_TRACE(c.file);
        Image img(c.file);
        ASSERT_TRUE(img.found());
        int matching = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const Rgba p = img.pixel(x, y);
                const int high = std::max({p[0], p[1], p[2]});
                matching += high > 100 && (p[0] > high - 70) == c.r && (p[1] > high - 70) == c.g &&
                            (p[2] > high - 70) == c.b;
            }
        EXPECT_GE(matching, 24) << "of 64 pixels";
    }
}

// Files without alpha are flattened onto what surrounds them on screen; tab faces
// show their state in the background.
TEST(EmbeddedImages, BackgroundMatchesWhereTheImageIsShown) {
    const Rgba kWidget{0xDC, 0xDA, 0xD5, 255}, kWhite{255, 255, 255, 255},
        kSelected{0xDD, 0xEB, 0xFA, 255};
    struct Case {
        const char* file;
        int x, y;
        Rgba want;
    };
    for (const Case& c : {Case{"power_on.bmp", 0, 0, kWidget},
                          {"power_off.bmp", 31, 31, kWidget},
                          {"networks.bmp", 31, 0, kWidget},
                          {"settings.bmp", 0, 31, kWidget},
                          {"create_network.bmp", 0, 31, kWidget},
                          {"join_network.bmp", 31, 0, kWidget},
                          {"dot_green.bmp", 0, 0, kWhite},
                          {"dot_red.bmp", 7, 7, kWhite},
                          {"dot_yellow.bmp", 7, 0, kWhite},
                          {"tab_system_on.bmp", 5, 5, kSelected},
                          {"tab_status_on.bmp", 74, 40, kSelected},
                          {"tab_system_off.bmp", 5, 5, kWhite},
                          {"tab_status_off.bmp", 74, 40, kWhite}}) {
        Image img(c.file);
        ASSERT_TRUE(img.found()) << c.file;
        EXPECT_EQ(img.pixel(c.x, c.y), c.want) << c.file << " at " << c.x << "," << c.y;
    }
}

TEST(EmbeddedImages, BannerLetteringSitsAtTheLeftEnd) {
    Image img("banner.bmp");
    ASSERT_TRUE(img.found());
    auto near_white = [&](int from) {
        int n = 0;
        for (int y = 0; y < 25; ++y)
            for (int x = from; x < from + 120; ++x) {
                const Rgba p = img.pixel(x, y);
                n += p[0] > 225 && p[1] > 225 && p[2] > 225;
            }
        return n;
    };
    EXPECT_GE(near_white(0), 60);
    EXPECT_EQ(near_white(1024 - 120), 0);
}

TEST(EmbeddedImages, EmblemHasRealTransparency) {
    Image img("emblem.bmp");
    ASSERT_TRUE(img.found());
    EXPECT_EQ(img.pixel(0, 0)[3], 0);
    EXPECT_EQ(img.pixel(16, 16)[3], 255);
}

}  // namespace
