// SPDX-License-Identifier: GPL-2.0-or-later
#include "toolkit/internal.h"

namespace {

// One converter for the whole run: opening iconv per text would dominate the
// cost of filling a large tree.
const GIConv NoConverter = reinterpret_cast<GIConv>(-1);
GIConv ToUtf8 = NoConverter;

}  // namespace

bool IsAscii(const std::string& text) {
    for (unsigned char c : text) {
        if (c >= 0x80) return false;
    }
    return true;
}

std::string Latin9ToUtf8(const std::string& text) {
    if (IsAscii(text)) return text;
    if (ToUtf8 == NoConverter) {
        ToUtf8 = g_iconv_open("UTF-8", "ISO-8859-15");
        if (ToUtf8 == NoConverter) return text;
    }
    gsize written = 0;
    GText out(g_convert_with_iconv(text.data(), static_cast<gssize>(text.size()), ToUtf8, nullptr,
                                   &written, nullptr));
    if (!out) {
        g_iconv(ToUtf8, nullptr, nullptr, nullptr, nullptr);  // reset the shift state
        return text;
    }
    return std::string(out.get(), written);
}

std::string ShownUtf8(const std::string& text) {
    // One byte is one character in the 8-bit set.
    return Latin9ToUtf8(text.size() > ShownChars ? text.substr(0, ShownChars) : text);
}
