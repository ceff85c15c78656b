// SPDX-License-Identifier: GPL-2.0-or-later
// A two-level list of rows as a GtkTreeModel.  Rows are kept in display order
// with their parent and place among their siblings, so paths and iterators
// are found without walking; a tree store pays a signal, a path and several
// allocations for every row it is given.
#include "toolkit/row_model.h"

namespace {

enum Column { ColumnPicture, ColumnText, ColumnColor, ColumnCount };

struct CorvaneRowModel {
    GObject parent;
    RowTable* table;
    gint stamp;
};

struct CorvaneRowModelClass {
    GObjectClass parent;
};

void InitInterface(GtkTreeModelIface* iface);

G_DEFINE_TYPE_WITH_CODE(CorvaneRowModel, corvane_row_model, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(GTK_TYPE_TREE_MODEL, InitInterface))

CorvaneRowModel* Model(GtkTreeModel* model) {
    return reinterpret_cast<CorvaneRowModel*>(model);
}
RowTable& Table(GtkTreeModel* model) {
    return *Model(model)->table;
}

// Iterators are checked before use: one left behind by a failed move, or
// kept from a replaced model, must not read past the rows.
bool Valid(GtkTreeModel* model, const GtkTreeIter* iter) {
    return iter != nullptr && iter->stamp == Model(model)->stamp &&
           GPOINTER_TO_UINT(iter->user_data) < Table(model).rows.size();
}

int Row(const GtkTreeIter* iter) {
    return GPOINTER_TO_INT(iter->user_data);
}

gboolean SetIter(GtkTreeModel* model, GtkTreeIter* iter, int row) {
    iter->stamp = Model(model)->stamp;
    iter->user_data = GINT_TO_POINTER(row);
    iter->user_data2 = nullptr;
    iter->user_data3 = nullptr;
    return TRUE;
}

// A move that finds no row leaves the iterator invalid, as GtkTreeModel asks.
gboolean NoRow(GtkTreeIter* iter) {
    iter->stamp = 0;
    return FALSE;
}

GtkTreeModelFlags GetFlags(GtkTreeModel*) {
    return GTK_TREE_MODEL_ITERS_PERSIST;
}

gint GetNColumns(GtkTreeModel*) {
    return ColumnCount;
}

GType GetColumnType(GtkTreeModel*, gint column) {
    return column == ColumnPicture ? GDK_TYPE_PIXBUF : G_TYPE_STRING;
}

gboolean GetIter(GtkTreeModel* model, GtkTreeIter* iter, GtkTreePath* path) {
    const RowTable& table = Table(model);
    const int depth = gtk_tree_path_get_depth(path);
    const gint* indices = gtk_tree_path_get_indices(path);
    if (depth < 1 || depth > 2 || indices[0] < 0 ||
        indices[0] >= static_cast<int>(table.tops.size())) {
        return NoRow(iter);
    }
    const int top = table.tops[indices[0]];
    if (depth == 1) return SetIter(model, iter, top);
    const int child = top + 1 + indices[1];
    if (indices[1] < 0 || child >= ChildrenEnd(table, top)) return NoRow(iter);
    return SetIter(model, iter, child);
}

GtkTreePath* GetPath(GtkTreeModel* model, GtkTreeIter* iter) {
    g_return_val_if_fail(Valid(model, iter), nullptr);
    return RowPath(model, Row(iter));
}

void GetValue(GtkTreeModel* model, GtkTreeIter* iter, gint column, GValue* value) {
    g_return_if_fail(Valid(model, iter));
    const TableRow& row = Table(model).rows[Row(iter)];
    g_value_init(value, GetColumnType(model, column));
    if (column == ColumnPicture) {
        g_value_set_object(value, ImagePixbuf(row.image));
    } else if (column == ColumnText) {
        g_value_set_string(value, ShownText(Table(model), Row(iter)).c_str());
    } else if (!row.color.empty()) {
        g_value_set_string(value, row.color.c_str());
    }
}

gboolean IterNext(GtkTreeModel* model, GtkTreeIter* iter) {
    g_return_val_if_fail(Valid(model, iter), FALSE);
    const RowTable& table = Table(model);
    const int row = Row(iter);
    const TableRow& current = table.rows[row];
    if (current.parent < 0) {
        if (current.ordinal + 1 >= static_cast<int>(table.tops.size())) return NoRow(iter);
        return SetIter(model, iter, table.tops[current.ordinal + 1]);
    }
    if (row + 1 >= ChildrenEnd(table, current.parent)) return NoRow(iter);
    return SetIter(model, iter, row + 1);
}

gboolean IterNthChild(GtkTreeModel* model, GtkTreeIter* iter, GtkTreeIter* parent, gint n) {
    const RowTable& table = Table(model);
    if (parent == nullptr) {
        if (n < 0 || n >= static_cast<int>(table.tops.size())) return NoRow(iter);
        return SetIter(model, iter, table.tops[n]);
    }
    g_return_val_if_fail(Valid(model, parent), NoRow(iter));
    const int top = Row(parent);
    if (table.rows[top].parent >= 0 || n < 0 || top + 1 + n >= ChildrenEnd(table, top)) {
        return NoRow(iter);
    }
    return SetIter(model, iter, top + 1 + n);
}

gboolean IterChildren(GtkTreeModel* model, GtkTreeIter* iter, GtkTreeIter* parent) {
    return IterNthChild(model, iter, parent, 0);
}

gint IterNChildren(GtkTreeModel* model, GtkTreeIter* iter) {
    const RowTable& table = Table(model);
    if (iter == nullptr) return static_cast<gint>(table.tops.size());
    g_return_val_if_fail(Valid(model, iter), 0);
    const int row = Row(iter);
    return table.rows[row].parent >= 0 ? 0 : ChildrenEnd(table, row) - row - 1;
}

gboolean IterHasChild(GtkTreeModel* model, GtkTreeIter* iter) {
    return IterNChildren(model, iter) > 0;
}

gboolean IterParent(GtkTreeModel* model, GtkTreeIter* iter, GtkTreeIter* child) {
    g_return_val_if_fail(Valid(model, child), NoRow(iter));
    const int parent = Table(model).rows[Row(child)].parent;
    return parent < 0 ? NoRow(iter) : SetIter(model, iter, parent);
}

void InitInterface(GtkTreeModelIface* iface) {
    iface->get_flags = GetFlags;
    iface->get_n_columns = GetNColumns;
    iface->get_column_type = GetColumnType;
    iface->get_iter = GetIter;
    iface->get_path = GetPath;
    iface->get_value = GetValue;
    iface->iter_next = IterNext;
    iface->iter_children = IterChildren;
    iface->iter_has_child = IterHasChild;
    iface->iter_n_children = IterNChildren;
    iface->iter_nth_child = IterNthChild;
    iface->iter_parent = IterParent;
}

void Finalize(GObject* object) {
    delete reinterpret_cast<CorvaneRowModel*>(object)->table;
    G_OBJECT_CLASS(corvane_row_model_parent_class)->finalize(object);
}

void corvane_row_model_class_init(CorvaneRowModelClass* cls) {
    G_OBJECT_CLASS(cls)->finalize = Finalize;
}

void corvane_row_model_init(CorvaneRowModel* model) {
    model->table = new RowTable;
    do {
        model->stamp = static_cast<gint>(g_random_int());
    } while (model->stamp == 0);  // 0 marks iterators that name no row
}

}  // namespace

GtkTreeModel* NewRowModel() {
    return GTK_TREE_MODEL(g_object_new(corvane_row_model_get_type(), nullptr));
}

RowTable& RowsOf(GtkTreeModel* model) {
    return Table(model);
}

int ChildrenEnd(const RowTable& table, int top) {
    const int ordinal = table.rows[top].ordinal;
    return ordinal + 1 < static_cast<int>(table.tops.size()) ? table.tops[ordinal + 1]
                                                             : static_cast<int>(table.rows.size());
}

int RowOfIter(const GtkTreeIter* iter) {
    return Row(iter);
}

GtkTreePath* RowPath(GtkTreeModel* model, int row) {
    const TableRow& entry = Table(model).rows[row];
    GtkTreePath* path = gtk_tree_path_new();
    if (entry.parent < 0) {
        gtk_tree_path_append_index(path, entry.ordinal);
    } else {
        gtk_tree_path_append_index(path, Table(model).rows[entry.parent].ordinal);
        gtk_tree_path_append_index(path, entry.ordinal);
    }
    return path;
}

int AppendRow(GtkTreeModel* model, int level, int image, std::string text) {
    RowTable& table = Table(model);
    const int row = static_cast<int>(table.rows.size());
    // A level-1 row needs a top-level row above it, or becomes one.
    const bool top = level == 0 || table.tops.empty();
    const int parent = top ? -1 : table.tops.back();
    const int ordinal = top ? static_cast<int>(table.tops.size()) : row - parent - 1;
    if (text.size() > ShownChars || !IsAscii(text)) table.shown.emplace(row, ShownUtf8(text));
    table.rows.push_back(TableRow{parent, ordinal, image, std::move(text), ""});
    if (top) table.tops.push_back(row);
    return row;
}
