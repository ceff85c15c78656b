// SPDX-License-Identifier: GPL-2.0-or-later
// Small helpers on 8-bit texts, shared by every layer.
#pragma once

#include <string>
#include <string_view>

inline bool Contains(std::string_view text, std::string_view phrase) {
    return text.find(phrase) != std::string_view::npos;
}

// Removes blanks (code 32 only) from both ends; tabs and the rest stay.
inline std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

inline std::string Trim(std::string_view text) {
    return std::string(TrimBlanks(text));
}
