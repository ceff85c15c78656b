// SPDX-License-Identifier: GPL-2.0-or-later
#include <algorithm>
#include <array>
#include <map>
#include <unordered_map>
#include <vector>

#include "common/lookup.h"
#include "toolkit/row_model.h"
#include "toolkit/tree_peer.h"

namespace {

enum Column { ColumnPicture, ColumnText, ColumnColor };

// Rows are measured in pixels for the column width, but laying out every row
// would cost more than building it: each row's width is estimated from
// cached glyph advances, and only the widest few are laid out.
constexpr size_t MeasuredRows = 8;

struct TreeState {
    GtkTreeView* view = nullptr;
    GtkTreeViewColumn* column = nullptr;
    GtkCellRenderer* picture = nullptr;
    GtkCellRenderer* text = nullptr;
    // Always a model, so the view is a tree table even when empty; while rows
    // are appended no view shows it, and it is shown again when next needed.
    GRef<GtkTreeModel> model;
    bool shown = false;
    GRef<PangoLayout> layout;                   // for measuring texts
    std::array<int, 128> asciiAdvance{};        // Pango units; 0: not yet measured
    std::unordered_map<gunichar, int> advance;  // the other characters
    std::vector<std::pair<int, int>> widest;    // (estimate, row), a min-heap
    int widestPicture = 0;
};

std::map<int, TreeState> Trees;

TreeState* Find(int gadget) {
    return FindIn(Trees, gadget);
}

int LayoutWidth(TreeState& tree, const char* utf8, int length) {
    pango_layout_set_text(tree.layout.get(), utf8, length);
    int width = 0;
    pango_layout_get_size(tree.layout.get(), &width, nullptr);
    return width;
}

int Advance(TreeState& tree, const char* at) {
    const unsigned char c = static_cast<unsigned char>(*at);
    if (c < 128) {
        int& width = tree.asciiAdvance[c];
        if (width == 0) width = std::max(1, LayoutWidth(tree, at, 1));
        return width;
    }
    const gunichar code = g_utf8_get_char(at);
    auto found = tree.advance.find(code);
    if (found != tree.advance.end()) return found->second;
    const int width = LayoutWidth(tree, at, static_cast<int>(g_utf8_next_char(at) - at));
    tree.advance.emplace(code, width);
    return width;
}

int EstimatedWidth(TreeState& tree, const std::string& utf8) {
    int width = 0;
    for (const char* at = utf8.c_str(); *at != '\0'; at = g_utf8_next_char(at)) {
        width += Advance(tree, at);
    }
    return width;
}

void NoteWidth(TreeState& tree, int row) {
    const std::pair<int, int> entry{EstimatedWidth(tree, ShownText(RowsOf(tree.model.get()), row)),
                                    row};
    auto narrower = std::greater<>();
    if (tree.widest.size() < MeasuredRows) {
        tree.widest.push_back(entry);
        std::push_heap(tree.widest.begin(), tree.widest.end(), narrower);
    } else if (entry.first > tree.widest.front().first) {
        std::pop_heap(tree.widest.begin(), tree.widest.end(), narrower);
        tree.widest.back() = entry;
        std::push_heap(tree.widest.begin(), tree.widest.end(), narrower);
    }
}

int TextPixels(TreeState& tree, const std::string& utf8) {
    return PANGO_PIXELS_CEIL(LayoutWidth(tree, utf8.c_str(), static_cast<int>(utf8.size())));
}

// Rows have fixed heights and the column a fixed width (so that large trees
// need no per-row layout); the width must still cover the widest row, or the
// scroll bar cannot reach its end.
int ColumnWidth(TreeState& tree) {
    int widest = 0;
    for (const auto& [estimate, row] : tree.widest) {
        widest = std::max(widest, TextPixels(tree, ShownText(RowsOf(tree.model.get()), row)));
    }
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

void Show(TreeState& tree) {
    if (tree.shown) return;
    gtk_tree_view_column_set_fixed_width(tree.column, std::max(1, ColumnWidth(tree)));
    gtk_tree_view_set_model(tree.view, tree.model.get());
    tree.shown = true;
}

// The rows change while no view shows the model, which then costs nothing
// but the rows themselves.
void Unshow(TreeState& tree) {
    if (!tree.shown) return;
    gtk_tree_view_set_model(tree.view, nullptr);
    tree.shown = false;
}

void NewModel(TreeState& tree) {
    Unshow(tree);
    tree.model.reset(NewRowModel());
    tree.widest.clear();
    tree.widestPicture = 0;
    Show(tree);
}

bool InRange(const TreeState& tree, int row) {
    return row >= 0 && static_cast<size_t>(row) < RowsOf(tree.model.get()).rows.size();
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

void CreateTreeState(int gadget, GtkWidget* widget) {
    TreeState& tree = Trees[gadget];
    tree.view = GTK_TREE_VIEW(widget);
    tree.layout.reset(gtk_widget_create_pango_layout(widget, nullptr));
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
    NewModel(tree);
}

}  // namespace

bool AddTree(int gadget, int window, int x, int y, int width, int height) {
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_AUTOMATIC,
                                   GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_ETCHED_IN);
    GtkWidget* view = NewTreeView();
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
    Trees.erase(gadget);
}

void TreeClear(int gadget) {
    if (TreeState* tree = Find(gadget)) NewModel(*tree);
}

void TreeAppend(int gadget, int level, int image, std::string text) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr) return;
    Unshow(*tree);
    tree->widestPicture = std::max(tree->widestPicture, ImageWidth(image));
    NoteWidth(*tree, AppendRow(tree->model.get(), level, image, std::move(text)));
}

void TreeSetRowColor(int gadget, int row, uint32_t rgb) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr || !InRange(*tree, row)) return;
    Unshow(*tree);
    gchar color[8];
    g_snprintf(color, sizeof color, "#%06x", rgb & 0xFFFFFFu);
    RowsOf(tree->model.get()).rows[row].color = color;
}

void TreeExpandAll(int gadget) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr) return;
    // The view's accessible peer hears of the new model once, expanded.
    g_object_freeze_notify(G_OBJECT(tree->view));
    Show(*tree);
    gtk_tree_view_expand_all(tree->view);
    g_object_thaw_notify(G_OBJECT(tree->view));
    gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(tree->view));
}

int TreeSelectedRow(int gadget) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr) return -1;
    Show(*tree);
    GtkTreeIter iter;
    if (!gtk_tree_selection_get_selected(gtk_tree_view_get_selection(tree->view), nullptr, &iter)) {
        return -1;
    }
    return RowOfIter(&iter);
}

std::string TreeRowText(int gadget, int row) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr || !InRange(*tree, row)) return "";
    return RowsOf(tree->model.get()).rows[row].text;
}

std::string TreeSelectedText(int gadget) {
    return TreeRowText(gadget, TreeSelectedRow(gadget));
}

GtkTreeModel* TreeModelOf(int gadget) {
    TreeState* tree = Find(gadget);
    return tree == nullptr ? nullptr : tree->model.get();
}

GtkTreeView* ShownTreeView(int gadget) {
    TreeState* tree = Find(gadget);
    if (tree == nullptr) return nullptr;
    Show(*tree);
    return tree->view;
}
