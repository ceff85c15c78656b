// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/roster.h"

#include <algorithm>
#include <utility>
#include <map>
#include <string_view>

#include "client/runner.h"
#include "common/text.h"

RosterState Roster;

namespace {

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

std::optional<RosterUpdate> RefreshRoster() {
    CommandOutput out = RunCommand("hamachi list");
    if (!out.started || out.text == Roster.LastListOutput) return std::nullopt;
    RunCommand("hamachi get-nicks");
    RosterUpdate update{ParseRoster(out.text), std::move(Roster.LastListOutput)};
    Roster.LastListOutput = std::move(out.text);
    return update;
}

void ForgetRoster() {
    Roster.LastListOutput.clear();
}

std::vector<MemberChange> MemberChanges(const std::string& before,
                                        const std::vector<RosterRow>& after) {
    // Members are known by their network's row text and their address.
    std::map<std::pair<std::string, std::string>, RowState> was;
    std::string network;
    for (RosterRow& row : ParseRoster(before)) {
        if (row.level == 0) {
            network = std::move(row.text);
        } else {
            was.emplace(std::pair{network, MemberAddress(row.text)}, row.state);
        }
    }
    std::vector<MemberChange> changes;
    const std::string none;
    const std::string* shownNetwork = &none;
    for (const RosterRow& row : after) {
        if (row.level == 0) {
            shownNetwork = &row.text;
            continue;
        }
        const auto old = was.find({*shownNetwork, MemberAddress(row.text)});
        if (old == was.end()) continue;
        if (old->second == RowState::Offline && row.state == RowState::Online) {
            changes.push_back({*shownNetwork, row.text, true});
        } else if (old->second == RowState::Online && row.state == RowState::Offline) {
            changes.push_back({*shownNetwork, row.text, false});
        }
    }
    return changes;
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

std::string MemberNickname(const std::string& rowText) {
    const size_t dash = rowText.find(" - ");
    return dash == std::string::npos ? rowText : rowText.substr(dash + 3);
}

