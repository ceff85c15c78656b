#include <algorithm>
#include <map>
#include <vector>

#include "toolkit/internal.h"

namespace {

enum Column { ColumnPicture, ColumnText, ColumnColor, ColumnCount };

struct TreeState {
    GtkTreeView* view = nullptr;
    GtkTreeViewColumn* column = nullptr;
    GtkTreeStore* store = nullptr;  // our own reference
    bool detached = false;
    std::vector<GtkTreeIter> rows;     // display order; the store's iterators persist
    std::vector<int> tops;             // display index of each top-level row
    std::vector<std::string> longest;  // the longest texts appended, for the column width
};

std::map<int, TreeState> Trees;

// Widest texts are measured only among the longest few, which keeps the
// horizontal scroll bar honest without laying out every row.
constexpr size_t MeasuredRows = 24;

TreeState* Find(int gadget) {
    auto it = Trees.find(gadget);
    return it == Trees.end() ? nullptr : &it->second;
}

std::string RowUtf8(TreeState& tree, size_t row) {
    gchar* text = nullptr;
    gtk_tree_model_get(GTK_TREE_MODEL(tree.store), &tree.rows[row], ColumnText, &text, -1);
    std::string result = text == nullptr ? "" : text;
    g_free(text);
    return result;
}

int TextWidth(TreeState& tree, const std::string& utf8) {
    PangoLayout* layout = gtk_widget_create_pango_layout(GTK_WIDGET(tree.view), utf8.c_str());
    int width = 0;
    pango_layout_get_pixel_size(layout, &width, nullptr);
    g_object_unref(layout);
    return width;
}

// Rows have fixed heights and the column a fixed width (so that large trees
// need no per-row layout); the width must still cover the widest text.
int ColumnWidth(TreeState& tree) {
    int widest = 0;
    for (const std::string& text : tree.longest) widest = std::max(widest, TextWidth(tree, text));
    gint expander = 12;
    gtk_widget_style_get(GTK_WIDGET(tree.view), "expander-size", &expander, nullptr);
    // picture (8) and the two renderers' padding, two levels of indentation
    return widest + 8 + 16 + 2 * (expander + 4) + 8;
}

void Attach(TreeState& tree) {
    if (!tree.detached) return;
    gtk_tree_view_column_set_fixed_width(tree.column, std::max(1, ColumnWidth(tree)));
    gtk_tree_view_set_model(tree.view, GTK_TREE_MODEL(tree.store));
    tree.detached = false;
}

void Detach(TreeState& tree) {
    if (tree.detached) return;
    gtk_tree_view_set_model(tree.view, nullptr);
    tree.detached = true;
}

// Keeps the MeasuredRows longest texts (by bytes) seen since the last clear.
void NoteLength(TreeState& tree, const std::string& utf8) {
    auto shorter = [](const std::string& a, const std::string& b) { return a.size() > b.size(); };
    if (tree.longest.size() < MeasuredRows) {
        tree.longest.push_back(utf8);
        std::push_heap(tree.longest.begin(), tree.longest.end(), shorter);
    } else if (utf8.size() > tree.longest.front().size()) {
        std::pop_heap(tree.longest.begin(), tree.longest.end(), shorter);
        tree.longest.back() = utf8;
        std::push_heap(tree.longest.begin(), tree.longest.end(), shorter);
    }
}

GtkTreePath* PathOf(TreeState& tree, int row) {
    return gtk_tree_model_get_path(GTK_TREE_MODEL(tree.store), &tree.rows[row]);
}

bool InRange(const TreeState& tree, int row) {
    return row >= 0 && static_cast<size_t>(row) < tree.rows.size();
}

gboolean OnPress(GtkWidget* widget, GdkEventButton* event, gpointer data) {
    Gadget* record = FindGadget(GPOINTER_TO_INT(data));
    if (record == nullptr) return FALSE;
    ClickPressed(record->clicks, PressTypeOf(event), event->button);
    if (event->button == 3 && event->type == GDK_BUTTON_PRESS) {
        // A right press selects the row under the pointer, as a left one
        // does, so the menu that follows acts on what was clicked.
        GtkTreePath* path = nullptr;
        if (gtk_tree_view_get_path_at_pos(GTK_TREE_VIEW(widget), int(event->x), int(event->y),
                                          &path, nullptr, nullptr, nullptr)) {
            gtk_tree_view_set_cursor(GTK_TREE_VIEW(widget), path, nullptr, FALSE);
            gtk_tree_path_free(path);
        }
        return TRUE;
    }
    return FALSE;
}

gboolean OnRelease(GtkWidget*, GdkEventButton* event, gpointer data) {
    int gadget = GPOINTER_TO_INT(data);
    Gadget* record = FindGadget(gadget);
    if (record == nullptr) return FALSE;
    int subtype = ClickReleased(record->clicks, event->button);
    if (subtype >= 0) QueueEvent(EventGadget, gadget, record->window, subtype, event->time);
    return FALSE;
}

}  // namespace

bool AddTree(int gadget, int window, int x, int y, int width, int height) {
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_AUTOMATIC,
                                   GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_ETCHED_IN);
    GtkWidget* view = gtk_tree_view_new();
    gtk_container_add(GTK_CONTAINER(scroller), view);
    gtk_widget_show(view);
    if (!PlaceGadget(gadget, window, GadgetKind::Tree, scroller, view, x, y, width, height)) {
        return false;
    }
    CreateTreeState(gadget, view);
    g_signal_connect(view, "button-press-event", G_CALLBACK(OnPress), GINT_TO_POINTER(gadget));
    g_signal_connect(view, "button-release-event", G_CALLBACK(OnRelease), GINT_TO_POINTER(gadget));
    return true;
}

void CreateTreeState(int gadget, GtkWidget* widget) {
    TreeState& tree = Trees[gadget];
    tree.view = GTK_TREE_VIEW(widget);
    tree.store = gtk_tree_store_new(ColumnCount, GDK_TYPE_PIXBUF, G_TYPE_STRING, G_TYPE_STRING);
    tree.column = gtk_tree_view_column_new();
    GtkCellRenderer* picture = gtk_cell_renderer_pixbuf_new();
    GtkCellRenderer* text = gtk_cell_renderer_text_new();
    gtk_tree_view_column_pack_start(tree.column, picture, FALSE);
    gtk_tree_view_column_pack_start(tree.column, text, TRUE);
    gtk_tree_view_column_add_attribute(tree.column, picture, "pixbuf", ColumnPicture);
    gtk_tree_view_column_add_attribute(tree.column, text, "text", ColumnText);
    gtk_tree_view_column_add_attribute(tree.column, text, "foreground", ColumnColor);
    gtk_tree_view_column_set_sizing(tree.column, GTK_TREE_VIEW_COLUMN_FIXED);
    gtk_tree_view_append_column(tree.view, tree.column);
    gtk_tree_view_set_headers_visible(tree.view, FALSE);
    gtk_tree_view_set_fixed_height_mode(tree.view, TRUE);
    gtk_tree_selection_set_mode(gtk_tree_view_get_selection(tree.view), GTK_SELECTION_SINGLE);
    gtk_tree_view_set_model(tree.view, GTK_TREE_MODEL(tree.store));
}

void ForgetTreeState(int gadget) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr) return;
    g_object_unref(tree->store);
    Trees.erase(gadget);
}

void TreeClear(int gadget) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr) return;
    // Filling a store attached to its view costs far more than the rows
    // themselves; it is attached again when the view is next needed.
    Detach(*tree);
    gtk_tree_store_clear(tree->store);
    tree->rows.clear();
    tree->tops.clear();
    tree->longest.clear();
}

void TreeAppend(int gadget, int level, int image, const std::string& text) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr) return;
    GtkTreeIter iter;
    const std::string utf8 = Latin9ToUtf8(text);
    const bool top = level == 0 || tree->tops.empty();
    GtkTreeIter* parent = top ? nullptr : &tree->rows[tree->tops.back()];
    gtk_tree_store_insert_with_values(tree->store, &iter, parent, -1, ColumnPicture,
                                      ImagePixbuf(image), ColumnText, utf8.c_str(), ColumnColor,
                                      nullptr, -1);
    if (top) tree->tops.push_back(static_cast<int>(tree->rows.size()));
    tree->rows.push_back(iter);
    NoteLength(*tree, utf8);
}

void TreeSetRowColor(int gadget, int row, uint32_t rgb) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr || !InRange(*tree, row)) return;
    gchar color[8];
    g_snprintf(color, sizeof color, "#%06x", rgb & 0xFFFFFFu);
    gtk_tree_store_set(tree->store, &tree->rows[row], ColumnColor, color, -1);
}

int TreeRowCount(int gadget) {
    TreeState* tree = Find(gadget);
    return tree == nullptr ? 0 : static_cast<int>(tree->rows.size());
}

void TreeExpandAll(int gadget) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr) return;
    Attach(*tree);
    gtk_tree_view_expand_all(tree->view);
    gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(tree->view));
}

void TreeExpandRow(int gadget, int row) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr) return;
    Attach(*tree);
    if (!InRange(*tree, row)) return;
    GtkTreePath* path = PathOf(*tree, row);
    gtk_tree_view_expand_row(tree->view, path, FALSE);
    gtk_tree_selection_unselect_path(gtk_tree_view_get_selection(tree->view), path);
    gtk_tree_path_free(path);
}

void TreeCollapseRow(int gadget, int row) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr) return;
    Attach(*tree);
    if (!InRange(*tree, row)) return;
    GtkTreePath* path = PathOf(*tree, row);
    gtk_tree_view_collapse_row(tree->view, path);
    gtk_tree_path_free(path);
}

bool TreeRowExpanded(int gadget, int row) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr || tree->detached || !InRange(*tree, row)) return false;
    GtkTreePath* path = PathOf(*tree, row);
    bool expanded = gtk_tree_view_row_expanded(tree->view, path);
    gtk_tree_path_free(path);
    return expanded;
}

int TreeSelectedRow(int gadget) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr || tree->detached) return -1;
    GtkTreeIter iter;
    if (!gtk_tree_selection_get_selected(gtk_tree_view_get_selection(tree->view), nullptr, &iter)) {
        return -1;
    }
    GtkTreePath* path = gtk_tree_model_get_path(GTK_TREE_MODEL(tree->store), &iter);
    const int depth = gtk_tree_path_get_depth(path);
    const gint* indices = gtk_tree_path_get_indices(path);
    int row = -1;
    if (depth >= 1 && static_cast<size_t>(indices[0]) < tree->tops.size()) {
        row = tree->tops[indices[0]] + (depth >= 2 ? 1 + indices[1] : 0);
    }
    gtk_tree_path_free(path);
    return row;
}

void TreeSelectRow(int gadget, int row) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr) return;
    Attach(*tree);
    if (!InRange(*tree, row)) return;
    GtkTreePath* path = PathOf(*tree, row);
    gtk_tree_view_expand_to_path(tree->view, path);
    gtk_tree_selection_select_path(gtk_tree_view_get_selection(tree->view), path);
    gtk_tree_path_free(path);
}

std::string TreeRowText(int gadget, int row) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr || !InRange(*tree, row)) return "";
    return FromUtf8(RowUtf8(*tree, row));
}

std::string TreeSelectedText(int gadget) {
    return TreeRowText(gadget, TreeSelectedRow(gadget));
}

TreeRowLook TreeRowAppearance(int gadget, int row) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr || !InRange(*tree, row)) return TreeRowLook{};
    GdkPixbuf* picture = nullptr;
    gchar* color = nullptr;
    gtk_tree_model_get(GTK_TREE_MODEL(tree->store), &tree->rows[row], ColumnPicture, &picture,
                       ColumnColor, &color, -1);
    TreeRowLook look;
    look.level = gtk_tree_store_iter_depth(tree->store, &tree->rows[row]);
    look.image = ImageNumberOf(picture);
    look.grey = color != nullptr;
    if (picture != nullptr) g_object_unref(picture);
    g_free(color);
    return look;
}
