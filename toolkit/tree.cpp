#include <algorithm>
#include <map>
#include <vector>

#include "toolkit/internal.h"

namespace {

enum Column { ColumnPicture, ColumnText, ColumnColor, ColumnCount };

// A row appended but not yet in the store.
struct PendingRow {
    int level = 0;
    int image = 0;
    std::string utf8;
    std::string color;  // "" for the default colour
};

struct TreeState {
    GtkTreeView* view = nullptr;
    GtkTreeViewColumn* column = nullptr;
    GtkCellRenderer* picture = nullptr;
    GtkCellRenderer* text = nullptr;
    GtkTreeStore* store = nullptr;  // our own reference
    bool detached = false;
    std::vector<GtkTreeIter> rows;     // display order; the store's iterators persist
    std::vector<int> tops;             // display index of each top-level row
    std::vector<PendingRow> pending;   // rows after `rows`, not yet in the store
    std::vector<std::string> longest;  // the longest texts appended, for the column width
    int widestPicture = 0;
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
    gint expander = 12, separator = 2, focus = 1;
    gtk_widget_style_get(GTK_WIDGET(tree.view), "expander-size", &expander, "horizontal-separator",
                         &separator, "focus-line-width", &focus, nullptr);
    guint textPad = 0, picturePad = 0;
    g_object_get(tree.text, "xpad", &textPad, nullptr);
    g_object_get(tree.picture, "xpad", &picturePad, nullptr);
    // Two levels of indentation, each an expander with its extra padding.
    const int indent = 2 * (expander + 4);
    return indent + separator + 2 * focus + tree.widestPicture + 2 * int(picturePad) + widest +
           2 * int(textPad);
}

GtkTreeStore* NewStore() {
    return gtk_tree_store_new(ColumnCount, GDK_TYPE_PIXBUF, G_TYPE_STRING, G_TYPE_STRING);
}

void Insert(TreeState& tree, GtkTreeIter* parent, int position, const PendingRow& row,
            GtkTreeIter* out) {
    gtk_tree_store_insert_with_values(
        tree.store, out, parent, position, ColumnPicture, ImagePixbuf(row.image), ColumnText,
        row.utf8.c_str(), ColumnColor, row.color.empty() ? nullptr : row.color.c_str(), -1);
}

// Moves the pending rows into the store.  The store finds a row's path by
// counting its elder siblings, so an empty store is filled back to front,
// each row inserted first among its siblings: linear instead of quadratic.
void Materialize(TreeState& tree) {
    if (tree.pending.empty()) return;
    const size_t base = tree.rows.size();
    const size_t count = tree.pending.size();
    tree.rows.resize(base + count);
    if (base == 0) {
        for (size_t i = 0; i < count; ++i) {
            if (tree.pending[i].level == 0 || tree.tops.empty()) {
                tree.tops.push_back(static_cast<int>(i));
            }
        }
        for (size_t t = tree.tops.size(); t-- > 0;) {
            const size_t top = tree.tops[t];
            const size_t end = t + 1 < tree.tops.size() ? tree.tops[t + 1] : count;
            Insert(tree, nullptr, 0, tree.pending[top], &tree.rows[top]);
            for (size_t child = end; child-- > top + 1;) {
                Insert(tree, &tree.rows[top], 0, tree.pending[child], &tree.rows[child]);
            }
        }
    } else {
        for (size_t i = 0; i < count; ++i) {
            const bool top = tree.pending[i].level == 0;
            GtkTreeIter* parent = top ? nullptr : &tree.rows[tree.tops.back()];
            Insert(tree, parent, -1, tree.pending[i], &tree.rows[base + i]);
            if (top) tree.tops.push_back(static_cast<int>(base + i));
        }
    }
    tree.pending.clear();
}

void Attach(TreeState& tree) {
    Materialize(tree);
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

// Also moves pending rows into the store, so that `row` can be read.
bool InRange(TreeState& tree, int row) {
    Materialize(tree);
    return row >= 0 && static_cast<size_t>(row) < tree.rows.size();
}

// The tree's own handling of a press (left or right) selects the row under
// the pointer; the click is reported on the release.
gboolean OnPress(GtkWidget*, GdkEventButton* event, gpointer data) {
    if (Gadget* record = FindGadget(GPOINTER_TO_INT(data))) {
        ClickPressed(record->clicks, PressTypeOf(event), event->button);
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
    tree.store = NewStore();
    tree.column = gtk_tree_view_column_new();
    GtkCellRenderer* picture = tree.picture = gtk_cell_renderer_pixbuf_new();
    GtkCellRenderer* text = tree.text = gtk_cell_renderer_text_new();
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
    // A fresh store: clearing the old one row by row would signal each removal.
    g_object_unref(tree->store);
    tree->store = NewStore();
    tree->rows.clear();
    tree->tops.clear();
    tree->pending.clear();
    tree->longest.clear();
    tree->widestPicture = 0;
}

void TreeAppend(int gadget, int level, int image, const std::string& text) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr) return;
    // A level-1 row needs a top-level row above it, or becomes one.
    const bool orphan = tree->rows.empty() && tree->pending.empty();
    tree->pending.push_back(PendingRow{orphan ? 0 : level, image, Latin9ToUtf8(text), ""});
    NoteLength(*tree, tree->pending.back().utf8);
    tree->widestPicture = std::max(tree->widestPicture, ImageWidth(image));
}

void TreeSetRowColor(int gadget, int row, uint32_t rgb) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr || row < 0) return;
    gchar color[8];
    g_snprintf(color, sizeof color, "#%06x", rgb & 0xFFFFFFu);
    const size_t index = static_cast<size_t>(row);
    if (index >= tree->rows.size() && index - tree->rows.size() < tree->pending.size()) {
        tree->pending[index - tree->rows.size()].color = color;
    } else if (InRange(*tree, row)) {
        gtk_tree_store_set(tree->store, &tree->rows[row], ColumnColor, color, -1);
    }
}

int TreeRowCount(int gadget) {
    TreeState* tree = Find(gadget);
    return tree == nullptr ? 0 : static_cast<int>(tree->rows.size() + tree->pending.size());
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
