// SPDX-License-Identifier: GPL-2.0-or-later
#include <map>
#include <vector>

#include "common/lookup.h"
#include "toolkit/internal.h"

namespace {

struct WindowRecord {
    TopWidget window;
    GtkWidget* fixed = nullptr;
    int width = 0;  // last inner size reported, to post size changes only
    int height = 0;
};

std::map<int, WindowRecord> Windows;

WindowRecord* Find(int window) {
    return FindIn(Windows, window);
}

GtkWindow* Window(const WindowRecord& record) {
    return GTK_WINDOW(record.window.get());
}

gboolean OnDelete(GtkWidget*, GdkEvent* event, gpointer data) {
    QueueEvent(EventCloseWindow, 0, GPOINTER_TO_INT(data), 0, gdk_event_get_time(event));
    return TRUE;  // the program decides what a close means
}

gboolean OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer data) {
    int window = GPOINTER_TO_INT(data);
    WindowRecord* record = Find(window);
    if (record != nullptr && (event->width != record->width || event->height != record->height)) {
        record->width = event->width;
        record->height = event->height;
        QueueEvent(EventSizeChanged, 0, window, 0, GDK_CURRENT_TIME);
    }
    return FALSE;
}

}  // namespace

bool OpenWindow(int window, const std::string& title, int width, int height, unsigned flags,
                int parent) {
    if (!ToolkitReady()) return false;
    CloseWindow(window);
    TopWidget widget(gtk_window_new(GTK_WINDOW_TOPLEVEL));
    GtkWidget* fixed = widget ? gtk_fixed_new() : nullptr;
    if (fixed == nullptr) return false;
    GtkWindow* win = GTK_WINDOW(widget.get());
    gtk_window_set_title(win, ShownUtf8(title).c_str());
    gtk_container_add(GTK_CONTAINER(win), fixed);
    gtk_widget_show(fixed);
    const bool resizable = flags & WindowResizable;
    if (resizable) {
        gtk_window_set_default_size(win, width, height);
        // Gadgets may lie beyond the window's edge (the banner is wider than
        // any window); the program bounds the size itself.
        gtk_widget_set_size_request(fixed, 1, 1);
    } else {
        gtk_widget_set_size_request(fixed, width, height);
        gtk_window_set_resizable(win, FALSE);
    }
    if (flags & WindowCentered) gtk_window_set_position(win, GTK_WIN_POS_CENTER);
    if (WindowRecord* owner = Find(parent)) gtk_window_set_transient_for(win, Window(*owner));
    g_signal_connect(win, "delete-event", G_CALLBACK(OnDelete), GINT_TO_POINTER(window));
    g_signal_connect(win, "configure-event", G_CALLBACK(OnConfigure), GINT_TO_POINTER(window));
    gtk_widget_realize(widget.get());
    GdkWindow* frame = gtk_widget_get_window(widget.get());
    const int decorations = GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU;
    const int functions = GDK_FUNC_MOVE | GDK_FUNC_CLOSE;
    gdk_window_set_decorations(frame,
                               GdkWMDecoration(decorations | (resizable ? GDK_DECOR_RESIZEH : 0)));
    gdk_window_set_functions(frame, GdkWMFunction(functions | (resizable ? GDK_FUNC_RESIZE : 0)));
    Windows[window] = WindowRecord{std::move(widget), fixed, width, height};
    return true;
}

GtkWidget* WindowContainer(int window) {
    WindowRecord* record = Find(window);
    return record == nullptr ? nullptr : record->fixed;
}

void ShowWindow(int window) {
    if (WindowRecord* record = Find(window)) {
        gtk_window_deiconify(Window(*record));
        gtk_widget_show(record->window.get());
        gtk_window_present(Window(*record));
    }
}

void HideWindow(int window) {
    if (WindowRecord* record = Find(window)) gtk_widget_hide(record->window.get());
}

void CloseWindow(int window) {
    if (Find(window) == nullptr) return;
    ForgetGadgetsOf(window);
    Windows.erase(window);
}

void CloseAllWindows() {
    std::vector<int> open;
    for (const auto& entry : Windows) open.push_back(entry.first);
    for (int window : open) CloseWindow(window);
}

bool WindowIsVisible(int window) {
    WindowRecord* record = Find(window);
    return record != nullptr && gtk_widget_get_visible(record->window.get());
}

void IconifyWindow(int window) {
    if (WindowRecord* record = Find(window)) gtk_window_iconify(Window(*record));
}

bool GetWindowPosition(int window, int* x, int* y) {
    WindowRecord* record = Find(window);
    if (record == nullptr) return false;
    gtk_window_get_position(Window(*record), x, y);
    return true;
}

void MoveWindow(int window, int x, int y) {
    if (WindowRecord* record = Find(window)) gtk_window_move(Window(*record), x, y);
}

void ResizeWindow(int window, int width, int height) {
    WindowRecord* record = Find(window);
    if (record == nullptr) return;
    gtk_window_resize(Window(*record), width, height);
    // GTK asks the window manager only for a size other than the last one it
    // asked for, whatever size the window has been given since: a second
    // snap to the same size would be lost.  Ask the window system directly;
    // GTK takes the size up from the configure event like any other.
    if (GdkWindow* frame = gtk_widget_get_window(record->window.get())) {
        gdk_window_resize(frame, width, height);
    }
}

bool GetWindowSize(int window, int* width, int* height) {
    WindowRecord* record = Find(window);
    if (record == nullptr) return false;
    gtk_window_get_size(Window(*record), width, height);
    return true;
}
