// SPDX-License-Identifier: GPL-2.0-or-later
// The roster: the networks and members that "hamachi list" prints, as rows,
// rebuilt only when the output changes; and the row-text contract by which
// the actions take network names and member addresses back out of rows.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class RowState { Online, Crossed, Offline };

struct RosterRow {
    int level = 0;  // 0 network, 1 member
    std::string text;
    RowState state = RowState::Offline;
    bool operator==(const RosterRow&) const = default;
};

struct RosterState {
    // The list output the shown rows were built from.
    std::string LastListOutput;
};
extern RosterState Roster;

// A changed list: the rows to show, and the output they replace.
struct RosterUpdate {
    std::vector<RosterRow> rows;
    std::string previousOutput;
};
// Runs "hamachi list"; the update when the output differs from the last one
// (then "hamachi get-nicks" is run too), nothing when it is the same or
// could not be run.
std::optional<RosterUpdate> RefreshRoster();
// Forgets the output the rows were built from, so the next refresh rebuilds.
void ForgetRoster();

// The rows a list output gives, in display order.
std::vector<RosterRow> ParseRoster(const std::string& listOutput);

// A member whose state changed between two list outputs.
struct MemberChange {
    std::string network;  // the network's row text
    std::string member;   // the member's row text
    bool online = false;  // came online (else went offline)
    bool operator==(const MemberChange&) const = default;
};
// Members of the same network and address that went from offline to online
// between a list output and the rows of the next one; a member that came or
// went, and the crossed state, are no change.
std::vector<MemberChange> MemberChanges(const std::string& before,
                                        const std::vector<RosterRow>& after);

// The row-text contract shared with the network and member actions.
bool IsNetworkRow(const std::string& rowText);
std::string NetworkName(const std::string& rowText);
std::string MemberAddress(const std::string& rowText);
std::string MemberNickname(const std::string& rowText);
