// SPDX-License-Identifier: GPL-2.0-or-later
#include <libnotify/notify.h>

#include <memory>

#include "toolkit/internal.h"

namespace {

constexpr const char* DaemonName = "org.freedesktop.Notifications";
constexpr const char* DaemonPath = "/org/freedesktop/Notifications";
// Long enough for a daemon the bus starts on demand to come up.
constexpr int DaemonAnswerMs = 5000;

using Variant = std::unique_ptr<GVariant, ReleaseWith<g_variant_unref>>;
using Error = std::unique_ptr<GError, ReleaseWith<g_error_free>>;

struct Texts {
    std::string summary;  // UTF-8
    std::string body;
};

// libnotify names the picture's hint after the daemon's version, which it
// learns only once it has talked to the daemon.
bool StartLibnotify() {
    if (notify_is_initted()) return true;
    if (!notify_init("Corvane")) return false;
    g_list_free_full(notify_get_server_caps(), g_free);
    return true;
}

void OnDaemonAnswer(GObject* bus, GAsyncResult* result, gpointer data) {
    const std::unique_ptr<Texts> texts(static_cast<Texts*>(data));
    GError* failure = nullptr;
    Variant answer(g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &failure));
    Error held(failure);
    if (!answer || !StartLibnotify()) return;
    GRef<NotifyNotification> notification(
        notify_notification_new(texts->summary.c_str(), texts->body.c_str(), nullptr));
    GdkPixbuf* icon = TrayPixbuf();
    if (icon != nullptr) notify_notification_set_image_from_pixbuf(notification.get(), icon);
    GError* unshown = nullptr;
    notify_notification_show(notification.get(), &unshown);
    Error dropped(unshown);
}

}  // namespace

// libnotify waits for the daemon's answer with no bound worth having, so it
// is called only once a daemon has answered a call that waits for nothing.
void Notify(const std::string& summary, const std::string& body) {
    GDBusConnection* bus = SessionBus();
    if (bus == nullptr) return;
    g_dbus_connection_call(bus, DaemonName, DaemonPath, DaemonName, "GetServerInformation", nullptr,
                           G_VARIANT_TYPE("(ssss)"), G_DBUS_CALL_FLAGS_NONE, DaemonAnswerMs,
                           nullptr, OnDaemonAnswer,
                           new Texts{ShownUtf8(summary), ShownUtf8(body)});
}
