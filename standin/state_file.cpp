#include "state_file.h"

#include <algorithm>

namespace standin {

namespace {

constexpr size_t kKeyWidth = 9;
constexpr size_t kValueColumn = 11;

std::string TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return "";
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace

std::string StateLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line.resize(std::max(kValueColumn, line.size() + 1), ' ');
    line += value;
    return line;
}

std::string StateKey(std::string_view line) {
    return TrimBlanks(line.substr(0, kKeyWidth));
}

std::string StateValue(std::string_view line) {
    return line.size() > kValueColumn ? TrimBlanks(line.substr(kValueColumn)) : "";
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
