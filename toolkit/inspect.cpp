// SPDX-License-Identifier: GPL-2.0-or-later
#include "toolkit/inspect.h"

#include "toolkit/internal.h"

namespace {

GtkWidget* Outer(int gadget) {
    const Gadget* record = FindGadget(gadget);
    return record == nullptr ? nullptr : record->outer;
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
