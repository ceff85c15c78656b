// SPDX-License-Identifier: GPL-2.0-or-later
// The roster: the networks and members that "hamachi list" prints, kept only
// as the rows of the tree and the output they were built from.
#pragma once

#include <string>
#include <vector>

enum class RowState { Online, Crossed, Offline };

struct RosterRow {
    int level = 0;  // 0 network, 1 member
    std::string text;
    RowState state = RowState::Offline;
    bool operator==(const RosterRow&) const = default;
};

// The list output the tree was last built from.
extern std::string LastListOutput;

// Brings the tree up to date with "hamachi list"; rebuilds only on change.
void RefreshRoster();
// Builds the tree afresh from a list output, every row expanded, none selected.
void RebuildRoster(const std::string& listOutput);
// Empties the tree and forgets the output, so the next refresh rebuilds.
void ClearRoster();

// The rows a list output gives, in display order.
std::vector<RosterRow> ParseRoster(const std::string& listOutput);

// The row-text contract shared with the network and member actions.
bool IsNetworkRow(const std::string& rowText);
std::string NetworkName(const std::string& rowText);
std::string MemberAddress(const std::string& rowText);
std::string SelectedRowText();
int RowImage(RowState state);
