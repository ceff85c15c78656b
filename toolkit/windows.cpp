#include <map>
#include <vector>

#include "toolkit/internal.h"

namespace {

struct WindowRecord {
    GtkWidget* window = nullptr;
    GtkWidget* fixed = nullptr;
    int width = 0;  // last inner size reported, to post size changes only
    int height = 0;
};

std::map<int, WindowRecord> Windows;

WindowRecord* Find(int window) {
    auto it = Windows.find(window);
    return it == Windows.end() ? nullptr : &it->second;
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
    GtkWidget* widget = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWidget* fixed = widget == nullptr ? nullptr : gtk_fixed_new();
    if (fixed == nullptr) {
        if (widget != nullptr) gtk_widget_destroy(widget);
        return false;
    }
    GtkWindow* win = GTK_WINDOW(widget);
    gtk_window_set_title(win, Latin9ToUtf8(title).c_str());
    gtk_container_add(GTK_CONTAINER(widget), fixed);
    gtk_widget_show(fixed);
    if (flags & WindowResizable) {
        gtk_window_set_default_size(win, width, height);
        // Gadgets may lie beyond the window's edge (the banner is wider than
        // any window); the program bounds the size itself.
        gtk_widget_set_size_request(fixed, 1, 1);
    } else {
        gtk_widget_set_size_request(fixed, width, height);
        gtk_window_set_resizable(win, FALSE);
    }
    if (flags & WindowCentered) gtk_window_set_position(win, GTK_WIN_POS_CENTER);
    if (WindowRecord* owner = Find(parent)) {
        gtk_window_set_transient_for(win, GTK_WINDOW(owner->window));
    }
    g_signal_connect(widget, "delete-event", G_CALLBACK(OnDelete), GINT_TO_POINTER(window));
    g_signal_connect(widget, "configure-event", G_CALLBACK(OnConfigure), GINT_TO_POINTER(window));
    gtk_widget_realize(widget);
    if (flags & WindowResizable) {
        gdk_window_set_decorations(
            widget->window, GdkWMDecoration(GDK_DECOR_BORDER | GDK_DECOR_RESIZEH | GDK_DECOR_TITLE |
                                            GDK_DECOR_MENU));
        gdk_window_set_functions(widget->window,
                                 GdkWMFunction(GDK_FUNC_RESIZE | GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
    } else {
        gdk_window_set_decorations(
            widget->window, GdkWMDecoration(GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU));
        gdk_window_set_functions(widget->window, GdkWMFunction(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
    }
    Windows[window] = WindowRecord{widget, fixed, width, height};
    return true;
}

GtkWidget* WindowWidget(int window) {
    WindowRecord* record = Find(window);
    return record == nullptr ? nullptr : record->window;
}

GtkWidget* WindowContainer(int window) {
    WindowRecord* record = Find(window);
    return record == nullptr ? nullptr : record->fixed;
}

void ShowWindow(int window) {
    if (WindowRecord* record = Find(window)) {
        gtk_window_deiconify(GTK_WINDOW(record->window));
        gtk_widget_show(record->window);
        gtk_window_present(GTK_WINDOW(record->window));
    }
}

void HideWindow(int window) {
    if (WindowRecord* record = Find(window)) gtk_widget_hide(record->window);
}

void CloseWindow(int window) {
    WindowRecord* record = Find(window);
    if (record == nullptr) return;
    GtkWidget* widget = record->window;
    ForgetGadgetsOf(window);
    Windows.erase(window);
    gtk_widget_destroy(widget);
}

void CloseAllWindows() {
    std::vector<int> open;
    for (const auto& entry : Windows) open.push_back(entry.first);
    for (int window : open) CloseWindow(window);
}

bool WindowIsOpen(int window) {
    return Find(window) != nullptr;
}

bool WindowIsVisible(int window) {
    WindowRecord* record = Find(window);
    return record != nullptr && gtk_widget_get_visible(record->window);
}

void IconifyWindow(int window) {
    if (WindowRecord* record = Find(window)) gtk_window_iconify(GTK_WINDOW(record->window));
}

bool GetWindowPosition(int window, int* x, int* y) {
    WindowRecord* record = Find(window);
    if (record == nullptr) return false;
    gtk_window_get_position(GTK_WINDOW(record->window), x, y);
    return true;
}

void MoveWindow(int window, int x, int y) {
    if (WindowRecord* record = Find(window)) gtk_window_move(GTK_WINDOW(record->window), x, y);
}

void ResizeWindow(int window, int width, int height) {
    if (WindowRecord* record = Find(window)) {
        gtk_window_resize(GTK_WINDOW(record->window), width, height);
    }
}

bool GetWindowSize(int window, int* width, int* height) {
    WindowRecord* record = Find(window);
    if (record == nullptr) return false;
    gtk_window_get_size(GTK_WINDOW(record->window), width, height);
    return true;
}
