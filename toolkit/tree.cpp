#include <algorithm>
#include <map>
#include <vector>

#include "toolkit/row_model.h"

namespace {

enum Column { ColumnPicture, ColumnText, ColumnColor };

struct TreeState {
    GtkTreeView* view = nullptr;
    GtkTreeViewColumn* column = nullptr;
    GtkCellRenderer* picture = nullptr;
    GtkCellRenderer* text = nullptr;
    GtkTreeModel* model = nullptr;  // our own reference
    bool detached = false;
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

void Attach(TreeState& tree) {
    if (!tree.detached) return;
    gtk_tree_view_column_set_fixed_width(tree.column, std::max(1, ColumnWidth(tree)));
    gtk_tree_view_set_model(tree.view, tree.model);
    tree.detached = false;
}

bool InRange(const TreeState& tree, int row) {
    return row >= 0 && static_cast<size_t>(row) < RowsOf(tree.model).rows.size();
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

// Runs `action` on the path of `row` in the shown tree.
template <typename Action>
void WithRowPath(int gadget, int row, Action action) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr) return;
    Attach(*tree);
    if (!InRange(*tree, row)) return;
    GtkTreePath* path = RowPath(tree->model, row);
    action(*tree, path);
    gtk_tree_path_free(path);
}

void CreateTreeState(int gadget, GtkWidget* widget) {
    TreeState& tree = Trees[gadget];
    tree.view = GTK_TREE_VIEW(widget);
    tree.model = NewRowModel();
    tree.column = gtk_tree_view_column_new();
    tree.picture = gtk_cell_renderer_pixbuf_new();
    tree.text = gtk_cell_renderer_text_new();
    gtk_tree_view_column_pack_start(tree.column, tree.picture, FALSE);
    gtk_tree_view_column_pack_start(tree.column, tree.text, TRUE);
    gtk_tree_view_column_add_attribute(tree.column, tree.picture, "pixbuf", ColumnPicture);
    gtk_tree_view_column_add_attribute(tree.column, tree.text, "text", ColumnText);
    gtk_tree_view_column_add_attribute(tree.column, tree.text, "foreground", ColumnColor);
    gtk_tree_view_column_set_sizing(tree.column, GTK_TREE_VIEW_COLUMN_FIXED);
    gtk_tree_view_append_column(tree.view, tree.column);
    gtk_tree_view_set_headers_visible(tree.view, FALSE);
    gtk_tree_view_set_fixed_height_mode(tree.view, TRUE);
    gtk_tree_selection_set_mode(gtk_tree_view_get_selection(tree.view), GTK_SELECTION_SINGLE);
    gtk_tree_view_set_model(tree.view, tree.model);
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

void ForgetTreeState(int gadget) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr) return;
    g_object_unref(tree->model);
    Trees.erase(gadget);
}

void TreeClear(int gadget) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr) return;
    // The new rows go into a model no view watches; it is shown when the view
    // is next needed, so filling it costs nothing but the rows themselves.
    gtk_tree_view_set_model(tree->view, nullptr);
    tree->detached = true;
    g_object_unref(tree->model);
    tree->model = NewRowModel();
    tree->longest.clear();
    tree->widestPicture = 0;
}

void TreeAppend(int gadget, int level, int image, std::string text) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr) return;
    std::string utf8 = IsAscii(text) ? std::move(text) : Latin9ToUtf8(text);
    NoteLength(*tree, utf8);
    tree->widestPicture = std::max(tree->widestPicture, ImageWidth(image));
    const int row = AppendRow(tree->model, level, image, std::move(utf8));
    if (!tree->detached) NotifyRowInserted(tree->model, row);
}

void TreeSetRowColor(int gadget, int row, uint32_t rgb) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr || !InRange(*tree, row)) return;
    gchar color[8];
    g_snprintf(color, sizeof color, "#%06x", rgb & 0xFFFFFFu);
    RowsOf(tree->model).rows[row].color = color;
    if (!tree->detached) NotifyRowChanged(tree->model, row);
}

int TreeRowCount(int gadget) {
    TreeState* tree = Find(gadget);
    return tree == nullptr ? 0 : static_cast<int>(RowsOf(tree->model).rows.size());
}

void TreeExpandAll(int gadget) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr) return;
    Attach(*tree);
    gtk_tree_view_expand_all(tree->view);
    gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(tree->view));
}

void TreeExpandRow(int gadget, int row) {
    WithRowPath(gadget, row, [](TreeState& tree, GtkTreePath* path) {
        gtk_tree_view_expand_row(tree.view, path, FALSE);
        gtk_tree_selection_unselect_path(gtk_tree_view_get_selection(tree.view), path);
    });
}

void TreeCollapseRow(int gadget, int row) {
    WithRowPath(gadget, row, [](TreeState& tree, GtkTreePath* path) {
        gtk_tree_view_collapse_row(tree.view, path);
    });
}

void TreeSelectRow(int gadget, int row) {
    WithRowPath(gadget, row, [](TreeState& tree, GtkTreePath* path) {
        gtk_tree_view_expand_to_path(tree.view, path);
        gtk_tree_selection_select_path(gtk_tree_view_get_selection(tree.view), path);
    });
}

bool TreeRowExpanded(int gadget, int row) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr || tree->detached || !InRange(*tree, row)) return false;
    GtkTreePath* path = RowPath(tree->model, row);
    const bool expanded = gtk_tree_view_row_expanded(tree->view, path);
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
    return RowOfIter(&iter);
}

std::string TreeRowText(int gadget, int row) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr || !InRange(*tree, row)) return "";
    return FromUtf8(RowsOf(tree->model).rows[row].text);
}

std::string TreeSelectedText(int gadget) {
    return TreeRowText(gadget, TreeSelectedRow(gadget));
}

TreeRowLook TreeRowAppearance(int gadget, int row) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr || !InRange(*tree, row)) return TreeRowLook{};
    const TableRow& entry = RowsOf(tree->model).rows[row];
    return TreeRowLook{entry.parent < 0 ? 0 : 1, entry.image, !entry.color.empty()};
}
