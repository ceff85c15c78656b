#include "toolkit/internal.h"

namespace {

// The program has one tray icon; its number is never referred to.
constexpr int TrayNumber = 1;

GtkStatusIcon* Tray = nullptr;
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
    Tray = gtk_status_icon_new_from_pixbuf(ImagePixbuf(image));
    if (Tray == nullptr) return false;
    TrayWindow = window;
    TrayClicks = ClickState{};
    Tooltip = tooltip;
    gtk_status_icon_set_tooltip_text(Tray, Latin9ToUtf8(tooltip).c_str());
    g_signal_connect(Tray, "button-press-event", G_CALLBACK(OnPress), nullptr);
    g_signal_connect(Tray, "button-release-event", G_CALLBACK(OnRelease), nullptr);
    gtk_status_icon_set_visible(Tray, TRUE);
    return true;
}

void RemoveTrayIcon() {
    if (Tray == nullptr) return;
    gtk_status_icon_set_visible(Tray, FALSE);
    g_object_unref(Tray);
    Tray = nullptr;
    Tooltip.clear();
}

bool TrayIconExists() {
    return Tray != nullptr;
}

std::string TrayTooltip() {
    return Tooltip;
}
