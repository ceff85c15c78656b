// SPDX-License-Identifier: GPL-2.0-or-later
// The model behind tree gadgets: rows in display order, two levels.
#pragma once

#include <string>
#include <vector>

#include "toolkit/internal.h"

struct TableRow {
    int parent = -1;    // display index of the top-level row above, -1 for a top-level row
    int ordinal = 0;    // place among its siblings
    int image = 0;      // image number
    std::string text;   // 8-bit, as given
    std::string shown;  // the UTF-8 drawn, "" when that is `text` itself
    std::string color;  // "" for the default colour
};

// What a row draws and is measured by: at most ShownChars characters.
inline const std::string& ShownText(const TableRow& row) {
    return row.shown.empty() ? row.text : row.shown;
}

struct RowTable {
    std::vector<TableRow> rows;
    std::vector<int> tops;  // display index of each top-level row
};

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
