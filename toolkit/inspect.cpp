// SPDX-License-Identifier: GPL-2.0-or-later
#include "toolkit/inspect.h"

#include <memory>

#include "toolkit/internal.h"
#include "toolkit/row_model.h"

namespace {

GtkWidget* Outer(int gadget) {
    const Gadget* record = FindGadget(gadget);
    return record == nullptr ? nullptr : record->outer;
}

using Path = std::unique_ptr<GtkTreePath, ReleaseWith<gtk_tree_path_free>>;

// The path of `row` in the shown tree; none for a row that does not exist.
Path RowPathOf(int gadget, int row) {
    GtkTreeModel* model = TreeModelOf(gadget);
    if (model == nullptr || ShownTreeView(gadget) == nullptr || row < 0 ||
        row >= static_cast<int>(RowsOf(model).rows.size())) {
        return nullptr;
    }
    return Path(RowPath(model, row));
}

}  // namespace

bool WindowIsOpen(int window) {
    return WindowContainer(window) != nullptr;
}

bool GadgetSensitive(int gadget) {
    GtkWidget* widget = Outer(gadget);
    return widget != nullptr && gtk_widget_get_sensitive(widget);
}

bool GadgetVisible(int gadget) {
    GtkWidget* widget = Outer(gadget);
    return widget != nullptr && gtk_widget_get_visible(widget);
}

int ButtonImage(int gadget) {
    const Gadget* record = FindGadget(gadget);
    return record == nullptr ? 0 : record->image;
}

bool PopupMenuShown(int menu) {
    GtkWidget* widget = PopupMenuWidget(menu);
    return widget != nullptr && gtk_widget_get_visible(widget);
}

void HidePopupMenus() {
    for (int menu = 0; menu < 4; ++menu) {
        if (GtkWidget* widget = PopupMenuWidget(menu)) gtk_menu_popdown(GTK_MENU(widget));
    }
}

std::string TrayTooltip() {
    return TrayIconTooltip();
}

void InsertGadgetText(int gadget, const std::string& text) {
    const Gadget* record = FindGadget(gadget);
    if (record == nullptr || record->kind != GadgetKind::Entry) return;
    GtkEditable* editable = GTK_EDITABLE(record->inner);
    gint position = gtk_editable_get_position(editable);
    gtk_editable_insert_text(editable, text.data(), static_cast<gint>(text.size()), &position);
    gtk_editable_set_position(editable, position);
}

void PostEvent(const ProgramEvent& event) {
    QueuedEvents().push_back(event);
}

void DropQueuedEvents() {
    QueuedEvents().clear();
}

int QueuedEventCount() {
    return static_cast<int>(QueuedEvents().size());
}

void HandlePendingWindowEvents() {
    for (int i = 0; i < 100000 && ToolkitReady() && gtk_events_pending(); ++i) {
        gtk_main_iteration_do(FALSE);
    }
}

std::string GadgetShownText(int gadget) {
    const Gadget* record = FindGadget(gadget);
    if (record == nullptr || record->kind != GadgetKind::Label) return "";
    return gtk_label_get_text(GTK_LABEL(record->inner));
}

int TreeRowCount(int gadget) {
    GtkTreeModel* model = TreeModelOf(gadget);
    return model == nullptr ? 0 : static_cast<int>(RowsOf(model).rows.size());
}

void TreeSelectRow(int gadget, int row) {
    if (const Path path = RowPathOf(gadget, row)) {
        GtkTreeView* view = ShownTreeView(gadget);
        gtk_tree_view_expand_to_path(view, path.get());
        gtk_tree_selection_select_path(gtk_tree_view_get_selection(view), path.get());
    }
}

void TreeCollapseRow(int gadget, int row) {
    if (const Path path = RowPathOf(gadget, row)) {
        gtk_tree_view_collapse_row(ShownTreeView(gadget), path.get());
    }
}

bool TreeRowExpanded(int gadget, int row) {
    const Path path = RowPathOf(gadget, row);
    return path && gtk_tree_view_row_expanded(ShownTreeView(gadget), path.get());
}

TreeRowLook TreeRowAppearance(int gadget, int row) {
    const Path path = RowPathOf(gadget, row);
    if (!path) return TreeRowLook{};
    GtkTreeModel* model = TreeModelOf(gadget);
    const TableRow& entry = RowsOf(model).rows[row];
    GtkTreeIter iter;
    gtk_tree_model_get_iter(model, &iter, path.get());
    gchar* shown = nullptr;
    gtk_tree_model_get(model, &iter, 1, &shown, -1);  // the text column
    const GText owned(shown);
    return TreeRowLook{entry.parent < 0 ? 0 : 1, entry.image, !entry.color.empty(),
                       shown != nullptr ? shown : ""};
}

int TreeColumnWidth(int gadget) {
    GtkTreeView* view = ShownTreeView(gadget);
    return view == nullptr ? 0 : gtk_tree_view_column_get_fixed_width(gtk_tree_view_get_column(view, 0));
}

int TreeTextWidth(int gadget, const std::string& text) {
    GtkTreeView* view = ShownTreeView(gadget);
    if (view == nullptr) return 0;
    const GRef<PangoLayout> layout(gtk_widget_create_pango_layout(GTK_WIDGET(view), nullptr));
    const std::string utf8 = ShownUtf8(text);
    pango_layout_set_text(layout.get(), utf8.c_str(), static_cast<int>(utf8.size()));
    int width = 0;
    pango_layout_get_size(layout.get(), &width, nullptr);
    return PANGO_PIXELS_CEIL(width);
}
