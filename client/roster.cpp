// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/roster.h"

#include <algorithm>
#include <string_view>

#include "client/command_runner.h"
#include "common/identifiers.h"
#include "common/text.h"
#include "toolkit/toolkit.h"

std::string LastListOutput;

namespace {

constexpr uint32_t Grey = 0x999999;

// Member lines carry the address in characters 8-23 and the nickname in 25-49.
constexpr size_t AddressStart = 7, AddressLength = 16;
constexpr size_t NickStart = 24, NickLength = 25;

std::string_view Field(std::string_view line, size_t start, size_t length) {
    return start < line.size() ? line.substr(start, length) : std::string_view();
}

std::string WithoutAny(std::string_view text, std::string_view characters) {
    std::string kept;
    kept.reserve(text.size());
    for (char c : text) {
        if (characters.find(c) == std::string_view::npos) kept += c;
    }
    return kept;
}

}  // namespace

std::vector<RosterRow> ParseRoster(const std::string& listOutput) {
    std::vector<RosterRow> rows;
    rows.reserve(std::count(listOutput.begin(), listOutput.end(), '\n'));
    const std::string_view all(listOutput);
    size_t start = 0;
    size_t end;
    // A final line without its line feed is not taken.
    while ((end = all.find('\n', start)) != std::string_view::npos) {
        const std::string_view line = all.substr(start, end - start);
        start = end + 1;
        RosterRow& row = rows.emplace_back();
        if (line.find('*') != std::string_view::npos) {
            row.state = RowState::Online;
        } else if (line.find(" X ") != std::string_view::npos) {
            row.state = RowState::Crossed;
        }
        if (line.find('[') != std::string_view::npos) {
            row.level = 0;
            row.text = Trim(WithoutAny(line, "*"));
        } else {
            const std::string_view address = TrimBlanks(Field(line, AddressStart, AddressLength));
            const std::string_view nick = TrimBlanks(Field(line, NickStart, NickLength));
            row.level = 1;
            row.text.reserve(address.size() + 3 + nick.size());
            row.text.append(address).append(" - ").append(nick);
        }
    }
    return rows;
}

int RowImage(RowState state) {
    switch (state) {
        case RowState::Online:
            return ImageDotOnline;
        case RowState::Crossed:
            return ImageDotCrossed;
        case RowState::Offline:
            break;
    }
    return ImageDotOffline;
}

void RefreshRoster() {
    WaitForRunner();
    const std::string out = RunCommand("hamachi list");
    if (out == LastListOutput) return;
    WaitForRunner();
    RunCommand("hamachi get-nicks");
    RebuildRoster(out);
}

void RebuildRoster(const std::string& listOutput) {
    LastListOutput = listOutput;
    TreeClear(GadgetRoster);
    int index = 0;
    for (RosterRow& row : ParseRoster(listOutput)) {
        TreeAppend(GadgetRoster, row.level, RowImage(row.state), std::move(row.text));
        if (row.state != RowState::Online) TreeSetRowColor(GadgetRoster, index, Grey);
        ++index;
    }
    TreeExpandAll(GadgetRoster);
}

void ClearRoster() {
    TreeClear(GadgetRoster);
    LastListOutput.clear();
}

bool IsNetworkRow(const std::string& rowText) {
    return Contains(rowText, "[");
}

std::string NetworkName(const std::string& rowText) {
    return Trim(WithoutAny(rowText, "[]"));
}

std::string MemberAddress(const std::string& rowText) {
    return Trim(rowText.substr(0, rowText.find('-')));
}

std::string SelectedRowText() {
    return TreeSelectedText(GadgetRoster);
}
