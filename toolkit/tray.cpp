// SPDX-License-Identifier: GPL-2.0-or-later
#include "toolkit/internal.h"

namespace {

// The program has one tray icon; its number is never referred to.
constexpr int TrayNumber = 1;

GRef<GtkStatusIcon> Tray;
int TrayWindow = 0;
int TrayImage = 0;
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

void ShowStatusIcon(bool shown) {
    if (!shown) {
        if (Tray) gtk_status_icon_set_visible(Tray.get(), FALSE);
        Tray.reset();
        return;
    }
    if (Tray) return;
    Tray.reset(gtk_status_icon_new_from_pixbuf(ImagePixbuf(TrayImage)));
    if (!Tray) return;
    TrayClicks = ClickState{};
    gtk_status_icon_set_tooltip_text(Tray.get(), ShownUtf8(Tooltip).c_str());
    g_signal_connect(Tray.get(), "button-press-event", G_CALLBACK(OnPress), nullptr);
    g_signal_connect(Tray.get(), "button-release-event", G_CALLBACK(OnRelease), nullptr);
    gtk_status_icon_set_visible(Tray.get(), TRUE);
}

void PostTrayClick(int subtype) {
    QueueEvent(EventTray, TrayNumber, TrayWindow, subtype, GDK_CURRENT_TIME);
}

GdkPixbuf* TrayPixbuf() {
    return ImagePixbuf(TrayImage);
}

bool AddTrayIcon(int window, int image, const std::string& tooltip, int menu) {
    if (!ToolkitReady()) return false;
    RemoveTrayIcon();
    TrayWindow = window;
    TrayImage = image;
    Tooltip = tooltip;
    // On the session bus, whether a watcher is there decides which icon shows.
    if (StartStatusNotifier(image, menu, ShownUtf8(tooltip))) return true;
    ShowStatusIcon(true);
    return Tray != nullptr;
}

void RemoveTrayIcon() {
    StopStatusNotifier();
    ShowStatusIcon(false);
    TrayImage = 0;
    Tooltip.clear();
}

const std::string& TrayIconTooltip() {
    return Tooltip;
}

void SetTrayDetails(const std::string& text) {
    SetStatusNotifierDetails(ShownUtf8(text));
}
