// SPDX-License-Identifier: GPL-2.0-or-later
#include "toolkit/internal.h"

namespace {

// The program has one tray icon; its number is never referred to.
constexpr int TrayNumber = 1;

GRef<GtkStatusIcon> Tray;
int TrayWindow = 0;
ClickState TrayClicks;
std::string Tooltip;

gboolean OnPress(GtkStatusIcon*, GdkEventButton* event, gpointer) {
    ClickPressed(TrayClicks, PressTypeOf(event), event->button);
    return TRUE;
}

gboolean OnRelease(GtkStatusIcon*, GdkEventButton* event, gpointer) {
    int subtype = ClickReleased(TrayClicks, event->button);
    if (subtype >= 0) QueueEvent(EventTray, TrayNumber, TrayWindow, subtype, event->time);
    return TRUE;
}

}  // namespace

bool AddTrayIcon(int window, int image, const std::string& tooltip) {
    if (!ToolkitReady()) return false;
    RemoveTrayIcon();
    Tray.reset(gtk_status_icon_new_from_pixbuf(ImagePixbuf(image)));
    if (!Tray) return false;
    TrayWindow = window;
    TrayClicks = ClickState{};
    Tooltip = tooltip;
    gtk_status_icon_set_tooltip_text(Tray.get(), ShownUtf8(tooltip).c_str());
    g_signal_connect(Tray.get(), "button-press-event", G_CALLBACK(OnPress), nullptr);
    g_signal_connect(Tray.get(), "button-release-event", G_CALLBACK(OnRelease), nullptr);
    gtk_status_icon_set_visible(Tray.get(), TRUE);
    return true;
}

void RemoveTrayIcon() {
    if (!Tray) return;
    gtk_status_icon_set_visible(Tray.get(), FALSE);
    Tray.reset();
    Tooltip.clear();
}

std::string TrayTooltip() {
    return Tooltip;
}
