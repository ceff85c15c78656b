// SPDX-License-Identifier: GPL-2.0-or-later
#include <map>

#include "common/lookup.h"
#include "toolkit/internal.h"

namespace {

struct MenuRecord {
    HeldWidget menu;
    GtkWidget* target = nullptr;  // where new items go: the menu or an open submenu
};

std::map<int, MenuRecord> Menus;

MenuRecord* Find(int menu) {
    return FindIn(Menus, menu);
}

void OnActivate(GtkMenuItem*, gpointer data) {
    QueueEvent(EventMenu, GPOINTER_TO_INT(data), 0, 0, gtk_get_current_event_time());
}

void Append(MenuRecord& record, GtkWidget* item) {
    gtk_menu_shell_append(GTK_MENU_SHELL(record.target), item);
    gtk_widget_show(item);
}

}  // namespace

bool CreatePopupMenu(int menu) {
    if (!ToolkitReady()) return false;
    Menus.erase(menu);
    GtkWidget* widget = gtk_menu_new();
    if (widget == nullptr) return false;
    g_object_ref_sink(widget);
    Menus[menu] = MenuRecord{HeldWidget(widget), widget};
    return true;
}

void AddMenuItem(int menu, int item, const std::string& text) {
    MenuRecord* record = Find(menu);
    if (record == nullptr) return;
    GtkWidget* entry = gtk_menu_item_new_with_label(ShownUtf8(text).c_str());
    g_signal_connect(entry, "activate", G_CALLBACK(OnActivate), GINT_TO_POINTER(item));
    Append(*record, entry);
}

void AddMenuSeparator(int menu) {
    MenuRecord* record = Find(menu);
    if (record == nullptr) return;
    Append(*record, gtk_separator_menu_item_new());
}

void BeginSubmenu(int menu, const std::string& text) {
    MenuRecord* record = Find(menu);
    if (record == nullptr) return;
    GtkWidget* entry = gtk_menu_item_new_with_label(ShownUtf8(text).c_str());
    GtkWidget* submenu = gtk_menu_new();
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(entry), submenu);
    Append(*record, entry);
    record->target = submenu;
}

void EndSubmenu(int menu) {
    MenuRecord* record = Find(menu);
    if (record == nullptr) return;
    record->target = record->menu.get();
}

void ShowPopupMenu(int menu) {
    MenuRecord* record = Find(menu);
    if (record == nullptr) return;
    // Opened on a button release (or later), so no button is held: 0.
    gtk_menu_popup(GTK_MENU(record->menu.get()), nullptr, nullptr, nullptr, nullptr, 0, LastEventTime());
}

GtkWidget* PopupMenuWidget(int menu) {
    MenuRecord* record = Find(menu);
    return record == nullptr ? nullptr : record->menu.get();
}

void FreeMenus() {
    Menus.clear();
}
