// SPDX-License-Identifier: GPL-2.0-or-later
// "hamachi list" output through the roster parser, and every row text it
// gives (and the raw lines) through the rules the actions read rows by.
#include <cstdint>
#include <string>

#include "client/roster.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string output(reinterpret_cast<const char*>(data), size);
    size_t lines = 0;
    for (char c : output) lines += c == '\n';
    const std::vector<RosterRow> rows = ParseRoster(output);
    if (rows.size() != lines) __builtin_trap();
    for (const RosterRow& row : rows) {
        if (IsNetworkRow(row.text) != (row.level == 0)) __builtin_trap();
        if (row.level == 0 && row.text.find('*') != std::string::npos) __builtin_trap();
        const std::string name = NetworkName(row.text);
        if (name.find_first_of("[]") != std::string::npos) __builtin_trap();
        MemberAddress(row.text);
    }
    NetworkName(output);
    MemberAddress(output);
    return 0;
}
