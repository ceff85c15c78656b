// SPDX-License-Identifier: GPL-2.0-or-later
// The accessibility module's peer of a tree view counts and finds rows by
// recursing once per row shown, so a large tree overflows the stack; and it
// hands the model iterators it never set when a reader asks about a row that
// has gone.  Our peer derives from the module's and answers those questions
// from the row model instead.  Its rows are the table rows a reader sees: a
// top-level row, then its children while it is expanded.
#include <algorithm>
#include <memory>

#include "toolkit/row_model.h"
#include "toolkit/tree_peer.h"

namespace {

struct CorvaneTreeView {
    GtkTreeView parent;
};
struct CorvaneTreeViewClass {
    GtkTreeViewClass parent;
};
G_DEFINE_TYPE(CorvaneTreeView, corvane_tree_view, GTK_TYPE_TREE_VIEW)
void corvane_tree_view_class_init(CorvaneTreeViewClass*) {}
void corvane_tree_view_init(CorvaneTreeView*) {}

using Path = std::unique_ptr<GtkTreePath, ReleaseWith<gtk_tree_path_free>>;

GType PeerType = G_TYPE_INVALID;
void (*ModuleInitialize)(AtkObject*, gpointer) = nullptr;

GtkTreeView* ViewOf(gpointer peer) {
    GtkWidget* widget = GTK_ACCESSIBLE(peer)->widget;
    return widget == nullptr ? nullptr : GTK_TREE_VIEW(widget);
}

// The rows of the view's model; none while it shows no model.
const RowTable* RowsShown(GtkTreeView* view) {
    GtkTreeModel* model = view == nullptr ? nullptr : gtk_tree_view_get_model(view);
    return model == nullptr ? nullptr : &RowsOf(model);
}

// Calls visit(top, first table row, expanded) for each top-level row in turn
// until it returns true.
template <typename Visit>
void EachTop(GtkTreeView* view, const RowTable& rows, Visit visit) {
    const Path path(gtk_tree_path_new_first());
    int shown = 0;
    for (const int top : rows.tops) {
        const int children = ChildrenEnd(rows, top) - top - 1;
        const bool expanded = children > 0 && gtk_tree_view_row_expanded(view, path.get());
        if (visit(top, shown, expanded)) return;
        shown += 1 + (expanded ? children : 0);
        gtk_tree_path_next(path.get());
    }
}

int TableRowCount(GtkTreeView* view) {
    const RowTable* rows = RowsShown(view);
    int count = 0;
    if (rows != nullptr) {
        EachTop(view, *rows, [&](int top, int shown, bool expanded) {
            count = shown + 1 + (expanded ? ChildrenEnd(*rows, top) - top - 1 : 0);
            return false;
        });
    }
    return count;
}

// Display index of a table row, -1 when there is none.
int DisplayOfTableRow(GtkTreeView* view, int row) {
    const RowTable* rows = RowsShown(view);
    int display = -1;
    if (rows == nullptr || row < 0) return display;
    EachTop(view, *rows, [&](int top, int shown, bool expanded) {
        const int last = shown + (expanded ? ChildrenEnd(*rows, top) - top - 1 : 0);
        if (row <= last) display = top + row - shown;
        return row <= last;
    });
    return display;
}

// Table row of a display index, -1 when it lies in a collapsed row.
int TableRowOfDisplay(GtkTreeView* view, const RowTable& rows, int display) {
    const int parent = rows.rows[display].parent;
    const int wanted = parent < 0 ? display : parent;
    int row = -1;
    EachTop(view, rows, [&](int top, int shown, bool expanded) {
        if (top != wanted) return false;
        if (display == top) row = shown;
        if (display != top && expanded) row = shown + display - top;
        return true;
    });
    return row;
}

// The module numbers its children as one heading per column, the top-level
// rows, then the rows below them in order; our trees have one column.
int ChildIndexOfDisplay(const RowTable& rows, int display) {
    const TableRow& row = rows.rows[display];
    if (row.parent < 0) return 1 + row.ordinal;
    const int topOrdinal = rows.rows[row.parent].ordinal;
    return static_cast<int>(rows.tops.size()) + display - topOrdinal;
}

int DisplayOfChildIndex(const RowTable& rows, int index) {
    const int tops = static_cast<int>(rows.tops.size());
    const int below = index - 1 - tops;  // among the rows below top-level rows
    if (index < 1 || below >= static_cast<int>(rows.rows.size()) - tops) return -1;
    if (below < 0) return rows.tops[index - 1];
    // Top-level row o has tops[o] - o of them before it: find the last one
    // with no more than `below`.
    const auto after = std::partition_point(
        rows.tops.begin(), rows.tops.end(),
        [&](const int& top) { return top - static_cast<int>(&top - rows.tops.data()) <= below; });
    const int ordinal = static_cast<int>(after - rows.tops.begin()) - 1;
    return below + ordinal + 1;
}

gboolean IsRowSelected(AtkTable* table, gint row) {
    GtkTreeView* view = ViewOf(table);
    const int display = DisplayOfTableRow(view, row);
    if (display < 0) return FALSE;
    const Path path(RowPath(gtk_tree_view_get_model(view), display));
    return gtk_tree_selection_path_is_selected(gtk_tree_view_get_selection(view), path.get());
}

gboolean IsSelected(AtkTable* table, gint row, gint) {
    return IsRowSelected(table, row);
}

gint IndexAt(AtkTable* table, gint row, gint column) {
    GtkTreeView* view = ViewOf(table);
    const int display = column == 0 ? DisplayOfTableRow(view, row) : -1;
    return display < 0 ? -1 : ChildIndexOfDisplay(*RowsShown(view), display);
}

AtkObject* RefAt(AtkTable* table, gint row, gint column) {
    const gint index = IndexAt(table, row, column);
    return index < 0 ? nullptr : atk_object_ref_accessible_child(ATK_OBJECT(table), index);
}

gint RowAtIndex(AtkTable* table, gint index) {
    GtkTreeView* view = ViewOf(table);
    const RowTable* rows = RowsShown(view);
    const int display = rows == nullptr ? -1 : DisplayOfChildIndex(*rows, index);
    return display < 0 ? -1 : TableRowOfDisplay(view, *rows, display);
}

gint RowCount(AtkTable* table) {
    return TableRowCount(ViewOf(table));
}

// Selection is single: at most one row.
gint SelectedRows(AtkTable* table, gint** selected) {
    GtkTreeView* view = ViewOf(table);
    GtkTreeIter iter;
    if (view == nullptr ||
        !gtk_tree_selection_get_selected(gtk_tree_view_get_selection(view), nullptr, &iter)) {
        return 0;
    }
    const int row = TableRowOfDisplay(view, *RowsShown(view), RowOfIter(&iter));
    if (row < 0) return 0;
    if (selected != nullptr) {
        *selected = g_new(gint, 1);
        **selected = row;
    }
    return 1;
}

gboolean AddRowSelection(AtkTable* table, gint row) {
    if (IsRowSelected(table, row)) return TRUE;
    GtkTreeView* view = ViewOf(table);
    const int display = DisplayOfTableRow(view, row);
    if (display < 0) return FALSE;
    const Path path(RowPath(gtk_tree_view_get_model(view), display));
    gtk_tree_selection_select_path(gtk_tree_view_get_selection(view), path.get());
    return IsRowSelected(table, row);
}

gboolean RemoveRowSelection(AtkTable* table, gint row) {
    if (!IsRowSelected(table, row)) return FALSE;
    gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(ViewOf(table)));
    return TRUE;
}

// Our rows carry no headers or descriptions of their own.
AtkObject* RowHeader(AtkTable*, gint) {
    return nullptr;
}
void SetRowHeader(AtkTable*, gint, AtkObject*) {}
const gchar* RowDescription(AtkTable*, gint) {
    return nullptr;
}
void SetRowDescription(AtkTable*, gint, const gchar*) {}

// The other table functions stay the module's.
void TableInit(gpointer vtable, gpointer) {
    auto* table = static_cast<AtkTableIface*>(vtable);
    table->ref_at = RefAt;
    table->get_n_rows = RowCount;
    table->get_index_at = IndexAt;
    table->get_row_at_index = RowAtIndex;
    table->is_row_selected = IsRowSelected;
    table->is_selected = IsSelected;
    table->get_selected_rows = SelectedRows;
    table->add_row_selection = AddRowSelection;
    table->remove_row_selection = RemoveRowSelection;
    table->get_row_header = RowHeader;
    table->set_row_header = SetRowHeader;
    table->get_row_description = RowDescription;
    table->set_row_description = SetRowDescription;
}

gboolean AddSelection(AtkSelection* selection, gint index) {
    return AddRowSelection(ATK_TABLE(selection), RowAtIndex(ATK_TABLE(selection), index));
}

AtkObject* RefSelection(AtkSelection* selection, gint index) {
    gint* rows = nullptr;
    if (index != 0 || SelectedRows(ATK_TABLE(selection), &rows) == 0) return nullptr;
    const gint row = *rows;
    g_free(rows);
    return RefAt(ATK_TABLE(selection), row, 0);
}

gint SelectionCount(AtkSelection* selection) {
    return SelectedRows(ATK_TABLE(selection), nullptr);
}

gboolean IsChildSelected(AtkSelection* selection, gint index) {
    return IsRowSelected(ATK_TABLE(selection), RowAtIndex(ATK_TABLE(selection), index));
}

void SelectionInit(gpointer vtable, gpointer) {
    auto* selection = static_cast<AtkSelectionIface*>(vtable);
    selection->add_selection = AddSelection;
    selection->ref_selection = RefSelection;
    selection->get_selection_count = SelectionCount;
    selection->is_child_selected = IsChildSelected;
}

// Rows shown or hidden by expanding or collapsing: the peer is told that its
// model changed, and reads again what it needs.
void OnRowsShownChanged(GtkTreeView* view, GtkTreeIter*, GtkTreePath*, gpointer) {
    g_object_notify(G_OBJECT(view), "model");
}

void Initialize(AtkObject* peer, gpointer view) {
    ModuleInitialize(peer, view);
    // The module's own handlers find the row by recursion.
    for (const char* name : {"row-expanded", "row-collapsed"}) {
        g_signal_handlers_disconnect_matched(
            view, GSignalMatchType(G_SIGNAL_MATCH_ID | G_SIGNAL_MATCH_DATA),
            g_signal_lookup(name, GTK_TYPE_TREE_VIEW), 0, nullptr, nullptr, nullptr);
        g_signal_connect(view, name, G_CALLBACK(OnRowsShownChanged), nullptr);
    }
    gtk_tree_view_set_destroy_count_func(GTK_TREE_VIEW(view), nullptr, nullptr, nullptr);
}

void PeerClassInit(gpointer cls, gpointer) {
    auto* atk = ATK_OBJECT_CLASS(cls);
    ModuleInitialize = ATK_OBJECT_CLASS(g_type_class_peek_parent(cls))->initialize;
    atk->initialize = Initialize;
}

struct CorvaneTreePeerFactory {
    AtkObjectFactory parent;
};
struct CorvaneTreePeerFactoryClass {
    AtkObjectFactoryClass parent;
};
G_DEFINE_TYPE(CorvaneTreePeerFactory, corvane_tree_peer_factory, ATK_TYPE_OBJECT_FACTORY)

AtkObject* CreatePeer(GObject* view) {
    auto* peer = ATK_OBJECT(g_object_new(PeerType, nullptr));
    atk_object_initialize(peer, view);
    return peer;
}

GType GetPeerType() {
    return PeerType;
}

void corvane_tree_peer_factory_class_init(CorvaneTreePeerFactoryClass* cls) {
    cls->parent.create_accessible = CreatePeer;
    cls->parent.get_accessible_type = GetPeerType;
}
void corvane_tree_peer_factory_init(CorvaneTreePeerFactory*) {}

// Derives from the module's peer of tree views, when one is loaded that is a
// table; otherwise our views keep the default peer.
void RegisterPeer() {
    static bool tried = false;
    if (tried) return;
    tried = true;
    AtkRegistry* registry = atk_get_default_registry();
    const GType module = atk_object_factory_get_accessible_type(
        atk_registry_get_factory(registry, GTK_TYPE_TREE_VIEW));
    if (!g_type_is_a(module, GTK_TYPE_ACCESSIBLE) || !g_type_is_a(module, ATK_TYPE_TABLE) ||
        !g_type_is_a(module, ATK_TYPE_SELECTION)) {
        return;
    }
    GTypeQuery query;
    g_type_query(module, &query);
    GTypeInfo info{};
    info.class_size = static_cast<guint16>(query.class_size);
    info.class_init = PeerClassInit;
    info.instance_size = static_cast<guint16>(query.instance_size);
    PeerType = g_type_register_static(module, "CorvaneTreePeer", &info, GTypeFlags(0));
    static const GInterfaceInfo table{TableInit, nullptr, nullptr};
    static const GInterfaceInfo selection{SelectionInit, nullptr, nullptr};
    g_type_add_interface_static(PeerType, ATK_TYPE_TABLE, &table);
    g_type_add_interface_static(PeerType, ATK_TYPE_SELECTION, &selection);
    atk_registry_set_factory_type(registry, corvane_tree_view_get_type(),
                                  corvane_tree_peer_factory_get_type());
}

}  // namespace

GtkWidget* NewTreeView() {
    RegisterPeer();
    // Without the module, a plain view: GTK's type checks are quicker on it.
    const GType type =
        PeerType != G_TYPE_INVALID ? corvane_tree_view_get_type() : GTK_TYPE_TREE_VIEW;
    return GTK_WIDGET(g_object_new(type, nullptr));
}
