// SPDX-License-Identifier: GPL-2.0-or-later
// While a client command runs: the windows repaint, follow the window
// manager and answer its pings, show a busy cursor, and take no input.
#include <gdk/gdkx.h>

#include "toolkit/internal.h"

namespace {

// What may be handled while a command runs: nothing here reaches a handler
// of the program (a size change is queued like any other event).
bool SafeWhileBusy(GdkEventType type) {
    switch (type) {
        case GDK_EXPOSE:
        case GDK_NO_EXPOSE:
        case GDK_CONFIGURE:
        case GDK_MAP:
        case GDK_UNMAP:
        case GDK_VISIBILITY_NOTIFY:
        case GDK_WINDOW_STATE:
        case GDK_PROPERTY_NOTIFY:
        case GDK_SELECTION_CLEAR:
        case GDK_SELECTION_REQUEST:
        case GDK_SELECTION_NOTIFY:
        case GDK_OWNER_CHANGE:
        case GDK_DAMAGE:
        case GDK_SETTING:
            return true;
        default:
            return false;
    }
}

void SetCursorOnWindows(GdkCursor* cursor) {
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item != nullptr; item = item->next) {
        GdkWindow* window = gtk_widget_get_window(GTK_WIDGET(item->data));
        if (window != nullptr) gdk_window_set_cursor(window, cursor);
    }
    g_list_free(windows);
    gdk_flush();
}

}  // namespace

void ShowBusy(bool busy) {
    if (!ToolkitReady()) return;
    if (!busy) {
        SetCursorOnWindows(nullptr);
        return;
    }
    GdkCursor* watch = gdk_cursor_new(GDK_WATCH);
    SetCursorOnWindows(watch);
    gdk_cursor_unref(watch);
}

int WindowSystemDescriptor() {
    if (!ToolkitReady()) return -1;
    return ConnectionNumber(GDK_DISPLAY_XDISPLAY(gdk_display_get_default()));
}

// Taking an event off the queue answers the window manager's ping on the
// way; what is safe is handled, the rest (clicks, keys, closes) is dropped.
void ServeWhileBusy() {
    if (!ToolkitReady()) return;
    for (int round = 0; round < 1000; ++round) {
        gdk_flush();  // may read events in: look again after it
        if (!gdk_events_pending()) break;
        while (GdkEvent* event = gdk_event_get()) {
            if (SafeWhileBusy(event->type)) gtk_main_do_event(event);
            gdk_event_free(event);
        }
        gdk_window_process_all_updates();
    }
}
