// SPDX-License-Identifier: GPL-2.0-or-later
#include "state_file.h"

#include <algorithm>

#include "common/text.h"

namespace standin {

namespace {

constexpr size_t kKeyWidth = 9;
constexpr size_t kValueColumn = 11;

}  // namespace

std::string StateLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line.resize(std::max(kValueColumn, line.size() + 1), ' ');
    line += value;
    return line;
}

std::string StateKey(std::string_view line) {
    return Trim(line.substr(0, kKeyWidth));
}

std::string StateValue(std::string_view line) {
    return line.size() > kValueColumn ? Trim(line.substr(kValueColumn)) : "";
}

std::string WithStateValue(std::string_view text, std::string_view key, std::string_view value) {
    std::string result;
    bool found = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        const bool hasNewline = end != std::string_view::npos;
        if (StateKey(line) == key) {
            result += StateLine(key, value);
            found = true;
        } else {
            result += line;
        }
        if (hasNewline) result += '\n';
        text.remove_prefix(hasNewline ? end + 1 : text.size());
    }
    if (!found) {
        if (!result.empty() && result.back() != '\n') result += '\n';
        result += StateLine(key, value) + '\n';
    }
    return result;
}

}  // namespace standin
