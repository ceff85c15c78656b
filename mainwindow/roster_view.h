// SPDX-License-Identifier: GPL-2.0-or-later
// The roster as the main window's tree shows it.
#pragma once

#include <string>
#include <vector>

#include "client/outcome.h"
#include "client/roster.h"

// Brings the tree up to date with the client's list: rebuilt only when the
// list changed, then every row expanded and none selected.
void UpdateRoster();
// Builds the tree afresh from rows.
void ShowRoster(std::vector<RosterRow> rows);
// What an action came to: its message shown, then the roster brought up to
// date when the client did it.
void ShowOutcome(const Outcome& outcome);
// Empties the tree and forgets the list, so the next update rebuilds.
void ClearRoster();

int RowImage(RowState state);
// The selected row's text, "" when none is selected.
std::string SelectedRowText();
// The name of the nearest network row above the selected row; "" when there
// is none.
std::string SelectedMemberNetwork();
