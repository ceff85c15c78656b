// SPDX-License-Identifier: GPL-2.0-or-later
// The model behind tree gadgets: rows in display order, two levels.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "toolkit/internal.h"

struct TableRow {
    int parent = -1;    // display index of the top-level row above, -1 for a top-level row
    int ordinal = 0;    // place among its siblings
    int image = 0;      // image number
    std::string text;   // 8-bit, as given
    std::string color;  // "" for the default colour
};

struct RowTable {
    std::vector<TableRow> rows;
    std::vector<int> tops;  // display index of each top-level row
    // The UTF-8 drawn for the rows that do not draw their text as it is
    // (long or not ASCII), by display index; kept apart so that plain rows
    // cost no more.
    std::unordered_map<int, std::string> shown;
};

// What a row draws and is measured by: at most ShownChars characters.
inline const std::string& ShownText(const RowTable& table, int row) {
    const auto found = table.shown.find(row);
    return found == table.shown.end() ? table.rows[row].text : found->second;
}

// A new, empty model with one reference for the caller.
GtkTreeModel* NewRowModel();
RowTable& RowsOf(GtkTreeModel* model);

// Appends without telling any view (the model is filled while no view
// shows it); returns the row's display index.
int AppendRow(GtkTreeModel* model, int level, int image, std::string text);

// Display index just past the children of top-level row `top`.
int ChildrenEnd(const RowTable& table, int top);
int RowOfIter(const GtkTreeIter* iter);
GtkTreePath* RowPath(GtkTreeModel* model, int row);
