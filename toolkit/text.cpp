// SPDX-License-Identifier: GPL-2.0-or-later
#include "toolkit/internal.h"

namespace {

// One converter for the whole run: opening iconv per text would dominate the
// cost of filling a large tree.
const GIConv NoConverter = reinterpret_cast<GIConv>(-1);
GIConv ToUtf8 = NoConverter;
GIConv ToLatin9 = NoConverter;

// Nothing when the text does not convert whole.
std::optional<std::string> Convert(const std::string& text, GIConv& converter, const char* to,
                                   const char* from) {
    if (IsAscii(text)) return text;
    if (converter == NoConverter) {
        converter = g_iconv_open(to, from);
        if (converter == NoConverter) return std::nullopt;
    }
    gsize written = 0;
    GText out(g_convert_with_iconv(text.data(), static_cast<gssize>(text.size()), converter,
                                   nullptr, &written, nullptr));
    if (!out) {
        g_iconv(converter, nullptr, nullptr, nullptr, nullptr);  // reset the shift state
        return std::nullopt;
    }
    return std::string(out.get(), written);
}

}  // namespace

bool IsAscii(const std::string& text) {
    for (unsigned char c : text) {
        if (c >= 0x80) return false;
    }
    return true;
}

std::string Latin9ToUtf8(const std::string& text) {
    return Convert(text, ToUtf8, "UTF-8", "ISO-8859-15").value_or(text);
}

std::optional<std::string> Utf8ToLatin9(const std::string& text) {
    return Convert(text, ToLatin9, "ISO-8859-15", "UTF-8");
}

std::string ShownUtf8(const std::string& text) {
    // One byte is one character in the 8-bit set.
    return Latin9ToUtf8(text.size() > ShownChars ? text.substr(0, ShownChars) : text);
}
