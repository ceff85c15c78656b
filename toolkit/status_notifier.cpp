// SPDX-License-Identifier: GPL-2.0-or-later
// The tray icon as a StatusNotifierItem on the session bus, with its menu
// published as com.canonical.dbusmenu, for panels that have no XEmbed tray.
#include <memory>
#include <string_view>
#include <vector>

#include "toolkit/internal.h"

namespace {

constexpr const char* WatcherName = "org.kde.StatusNotifierWatcher";
constexpr const char* WatcherPath = "/StatusNotifierWatcher";
constexpr const char* ItemInterface = "org.kde.StatusNotifierItem";
constexpr const char* ItemPath = "/StatusNotifierItem";
constexpr const char* MenuInterface = "com.canonical.dbusmenu";
constexpr const char* MenuPath = "/MenuBar";
// The menu is built once, so its layout never changes.
constexpr guint LayoutRevision = 1;

constexpr const char* Introspection = R"xml(<node>
 <interface name="org.kde.StatusNotifierItem">
  <property name="Category" type="s" access="read"/>
  <property name="Id" type="s" access="read"/>
  <property name="Title" type="s" access="read"/>
  <property name="Status" type="s" access="read"/>
  <property name="WindowId" type="i" access="read"/>
  <property name="IconName" type="s" access="read"/>
  <property name="IconPixmap" type="a(iiay)" access="read"/>
  <property name="OverlayIconName" type="s" access="read"/>
  <property name="OverlayIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionIconName" type="s" access="read"/>
  <property name="AttentionIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionMovieName" type="s" access="read"/>
  <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
  <property name="ItemIsMenu" type="b" access="read"/>
  <property name="Menu" type="o" access="read"/>
  <method name="ContextMenu"><arg type="i" direction="in"/><arg type="i" direction="in"/></method>
  <method name="Activate"><arg type="i" direction="in"/><arg type="i" direction="in"/></method>
  <method name="SecondaryActivate"><arg type="i" direction="in"/><arg type="i" direction="in"/></method>
  <method name="Scroll"><arg type="i" direction="in"/><arg type="s" direction="in"/></method>
  <signal name="NewToolTip"/>
 </interface>
 <interface name="com.canonical.dbusmenu">
  <property name="Version" type="u" access="read"/>
  <property name="TextDirection" type="s" access="read"/>
  <property name="Status" type="s" access="read"/>
  <property name="IconThemePath" type="as" access="read"/>
  <method name="GetLayout">
   <arg type="i" direction="in"/><arg type="i" direction="in"/><arg type="as" direction="in"/>
   <arg type="u" direction="out"/><arg type="(ia{sv}av)" direction="out"/>
  </method>
  <method name="GetGroupProperties">
   <arg type="ai" direction="in"/><arg type="as" direction="in"/>
   <arg type="a(ia{sv})" direction="out"/>
  </method>
  <method name="GetProperty">
   <arg type="i" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/>
  </method>
  <method name="Event">
   <arg type="i" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="in"/>
   <arg type="u" direction="in"/>
  </method>
  <method name="EventGroup">
   <arg type="a(isvu)" direction="in"/><arg type="ai" direction="out"/>
  </method>
  <method name="AboutToShow"><arg type="i" direction="in"/><arg type="b" direction="out"/></method>
  <method name="AboutToShowGroup">
   <arg type="ai" direction="in"/><arg type="ai" direction="out"/><arg type="ai" direction="out"/>
  </method>
 </interface>
</node>)xml";

using NodeInfo = std::unique_ptr<GDBusNodeInfo, ReleaseWith<g_dbus_node_info_unref>>;
using Variant = std::unique_ptr<GVariant, ReleaseWith<g_variant_unref>>;
using WidgetList = std::unique_ptr<GList, ReleaseWith<g_list_free>>;

NodeInfo Node;
int Image = 0;
int Menu = 0;
std::string Title;    // UTF-8
std::string Details;  // UTF-8

// ---- The menu: the items of the tray's popup menu, numbered from 1 ----------

std::vector<GtkWidget*> MenuItems() {
    std::vector<GtkWidget*> items;
    GtkWidget* menu = PopupMenuWidget(Menu);
    if (menu == nullptr) return items;
    WidgetList children(gtk_container_get_children(GTK_CONTAINER(menu)));
    for (GList* child = children.get(); child != nullptr; child = child->next) {
        items.push_back(GTK_WIDGET(child->data));
    }
    return items;
}

GtkWidget* MenuItem(int id) {
    const std::vector<GtkWidget*> items = MenuItems();
    return id >= 1 && id <= static_cast<int>(items.size()) ? items[id - 1] : nullptr;
}

// An underscore marks a mnemonic in a menu label; ours have none.
std::string MenuLabel(GtkWidget* item) {
    const char* label = gtk_menu_item_get_label(GTK_MENU_ITEM(item));
    std::string escaped;
    for (const char* c = label == nullptr ? "" : label; *c != '\0'; ++c) {
        if (*c == '_') escaped += '_';
        escaped += *c;
    }
    return escaped;
}

// The item's properties, those named when any are (dbusmenu leaves out
// those at their default).
GVariant* ItemProperties(int id, GVariant* names) {
    const std::unique_ptr<const gchar*, ReleaseWith<g_free>> wanted(
        g_variant_get_strv(names, nullptr));
    GVariantBuilder properties;
    g_variant_builder_init(&properties, G_VARIANT_TYPE("a{sv}"));
    auto add = [&](const char* name, GVariant* value) {
        g_variant_ref_sink(value);
        if (wanted.get()[0] == nullptr || g_strv_contains(wanted.get(), name)) {
            g_variant_builder_add(&properties, "{sv}", name, value);
        }
        g_variant_unref(value);
    };
    if (id == 0) {
        add("children-display", g_variant_new_string("submenu"));
    } else if (GtkWidget* item = MenuItem(id)) {
        if (GTK_IS_SEPARATOR_MENU_ITEM(item)) {
            add("type", g_variant_new_string("separator"));
        } else {
            add("label", g_variant_new_string(MenuLabel(item).c_str()));
        }
        if (!gtk_widget_get_sensitive(item)) add("enabled", g_variant_new_boolean(FALSE));
        if (!gtk_widget_get_visible(item)) add("visible", g_variant_new_boolean(FALSE));
    }
    return g_variant_builder_end(&properties);
}

bool MenuHas(int id) {
    return id == 0 || MenuItem(id) != nullptr;
}

// One level below the root: items have no submenus.
GVariant* Layout(int id, int depth, GVariant* names) {
    GVariantBuilder children;
    g_variant_builder_init(&children, G_VARIANT_TYPE("av"));
    if (id == 0 && depth != 0) {
        const int count = static_cast<int>(MenuItems().size());
        for (int child = 1; child <= count; ++child) {
            g_variant_builder_add(&children, "v", Layout(child, 0, names));
        }
    }
    return g_variant_new("(i@a{sv}@av)", id, ItemProperties(id, names),
                         g_variant_builder_end(&children));
}

// A click runs the item as a click in the popup menu would.
bool MenuEvent(int id, const char* event) {
    GtkWidget* item = MenuItem(id);
    if (item == nullptr) return id == 0;
    if (std::string_view(event) == "clicked" && !GTK_IS_SEPARATOR_MENU_ITEM(item) &&
        gtk_widget_is_sensitive(item)) {
        gtk_menu_item_activate(GTK_MENU_ITEM(item));
    }
    return true;
}

void ReturnUnknownItem(GDBusMethodInvocation* call, int id) {
    g_dbus_method_invocation_return_error(call, G_DBUS_ERROR, G_DBUS_ERROR_INVALID_ARGS,
                                          "no menu item %d", id);
}

void OnMenuCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                GVariant* arguments, GDBusMethodInvocation* call, gpointer) {
    const std::string_view name = method;
    if (name == "GetLayout") {
        gint32 id = 0, depth = 0;
        GVariant* names = nullptr;
        g_variant_get(arguments, "(ii@as)", &id, &depth, &names);
        Variant held(names);
        if (!MenuHas(id)) return ReturnUnknownItem(call, id);
        g_dbus_method_invocation_return_value(
            call, g_variant_new("(u@(ia{sv}av))", LayoutRevision, Layout(id, depth, names)));
    } else if (name == "GetGroupProperties") {
        Variant ids(g_variant_get_child_value(arguments, 0));
        Variant names(g_variant_get_child_value(arguments, 1));
        GVariantBuilder found;
        g_variant_builder_init(&found, G_VARIANT_TYPE("a(ia{sv})"));
        gsize count = 0;
        const gint32* wanted = static_cast<const gint32*>(
            g_variant_get_fixed_array(ids.get(), &count, sizeof(gint32)));
        for (gsize i = 0; i < count; ++i) {
            if (MenuHas(wanted[i])) {
                g_variant_builder_add(&found, "(i@a{sv})", wanted[i],
                                      ItemProperties(wanted[i], names.get()));
            }
        }
        g_dbus_method_invocation_return_value(
            call, g_variant_new("(@a(ia{sv}))", g_variant_builder_end(&found)));
    } else if (name == "GetProperty") {
        gint32 id = 0;
        const gchar* property = nullptr;
        g_variant_get(arguments, "(i&s)", &id, &property);
        const gchar* only[] = {property, nullptr};
        Variant filter(g_variant_ref_sink(g_variant_new_strv(only, 1)));
        Variant properties(g_variant_ref_sink(ItemProperties(id, filter.get())));
        GVariant* value = g_variant_lookup_value(properties.get(), property, nullptr);
        if (value == nullptr) return ReturnUnknownItem(call, id);
        g_dbus_method_invocation_return_value(call, g_variant_new("(v)", value));
        g_variant_unref(value);
    } else if (name == "Event") {
        gint32 id = 0;
        const gchar* event = nullptr;
        g_variant_get(arguments, "(i&svu)", &id, &event, nullptr, nullptr);
        if (!MenuEvent(id, event)) return ReturnUnknownItem(call, id);
        g_dbus_method_invocation_return_value(call, nullptr);
    } else if (name == "EventGroup") {
        Variant events(g_variant_get_child_value(arguments, 0));
        GVariantBuilder unknown;
        g_variant_builder_init(&unknown, G_VARIANT_TYPE("ai"));
        GVariantIter iter;
        g_variant_iter_init(&iter, events.get());
        gint32 id = 0;
        const gchar* event = nullptr;
        while (g_variant_iter_next(&iter, "(i&svu)", &id, &event, nullptr, nullptr)) {
            if (!MenuEvent(id, event)) g_variant_builder_add(&unknown, "i", id);
        }
        g_dbus_method_invocation_return_value(
            call, g_variant_new("(@ai)", g_variant_builder_end(&unknown)));
    } else if (name == "AboutToShow") {
        g_dbus_method_invocation_return_value(call, g_variant_new("(b)", FALSE));
    } else {  // AboutToShowGroup: nothing to update
        g_dbus_method_invocation_return_value(call, g_variant_new_parsed("(@ai [], @ai [])"));
    }
}

GVariant* MenuProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                       const gchar* property, GError**, gpointer) {
    const std::string_view name = property;
    if (name == "Version") return g_variant_new_uint32(3);
    if (name == "TextDirection") return g_variant_new_string("ltr");
    if (name == "Status") return g_variant_new_string("normal");
    return g_variant_new_strv(nullptr, 0);  // IconThemePath
}

// ---- The item ------------------------------------------------------------------

// Hosts take ARGB32 pixels in network byte order.
GVariant* Pixmaps(int image) {
    GVariantBuilder pixmaps;
    g_variant_builder_init(&pixmaps, G_VARIANT_TYPE("a(iiay)"));
    if (GdkPixbuf* pixbuf = ImagePixbuf(image)) {
        const int width = gdk_pixbuf_get_width(pixbuf);
        const int height = gdk_pixbuf_get_height(pixbuf);
        const int stride = gdk_pixbuf_get_rowstride(pixbuf);
        const int channels = gdk_pixbuf_get_n_channels(pixbuf);
        const guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
        std::vector<guchar> argb;
        argb.reserve(static_cast<size_t>(width) * height * 4);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const guchar* pixel = pixels + y * stride + x * channels;
                argb.insert(argb.end(),
                            {channels == 4 ? pixel[3] : guchar{255}, pixel[0], pixel[1], pixel[2]});
            }
        }
        g_variant_builder_add(
            &pixmaps, "(ii@ay)", width, height,
            g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, argb.data(), argb.size(), 1));
    }
    return g_variant_builder_end(&pixmaps);
}

void OnItemCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                GVariant*, GDBusMethodInvocation* call, gpointer) {
    const std::string_view name = method;
    if (name == "Activate") PostTrayClick(LeftClick);
    // For hosts that do not read the menu themselves: the popup menu.
    if (name == "ContextMenu") PostTrayClick(RightClick);
    g_dbus_method_invocation_return_value(call, nullptr);
}

GVariant* ItemProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                       const gchar* property, GError**, gpointer) {
    const std::string_view name = property;
    if (name == "Category") return g_variant_new_string("ApplicationStatus");
    if (name == "Id") return g_variant_new_string("corvane");
    if (name == "Title") return g_variant_new_string(Title.c_str());
    if (name == "Status") return g_variant_new_string("Active");
    if (name == "WindowId") return g_variant_new_int32(0);
    if (name == "IconPixmap") return Pixmaps(Image);
    if (name == "ToolTip") {
        return g_variant_new("(s@a(iiay)ss)", "", Pixmaps(0), Title.c_str(), Details.c_str());
    }
    if (name == "ItemIsMenu") return g_variant_new_boolean(FALSE);
    if (name == "Menu") return g_variant_new_object_path(MenuPath);
    if (name.ends_with("Pixmap")) return Pixmaps(0);
    return g_variant_new_string("");  // the icon names: we give pixels
}

const GDBusInterfaceVTable ItemCalls = {OnItemCall, ItemProperty, nullptr, {}};
const GDBusInterfaceVTable MenuCalls = {OnMenuCall, MenuProperty, nullptr, {}};

// The two objects, exported while a watcher is on the bus.  The bus is held
// for them: at exit, static holders go in no set order.
class Exported {
  public:
    explicit Exported(GDBusConnection* bus) : bus_(G_DBUS_CONNECTION(g_object_ref(bus))) {
        item_ = Register(ItemPath, ItemInterface, &ItemCalls);
        menu_ = Register(MenuPath, MenuInterface, &MenuCalls);
    }
    ~Exported() {
        for (guint id : {item_, menu_}) {
            if (id != 0) g_dbus_connection_unregister_object(bus_.get(), id);
        }
    }
    Exported(const Exported&) = delete;
    Exported& operator=(const Exported&) = delete;

  private:
    guint Register(const char* path, const char* interface, const GDBusInterfaceVTable* calls) {
        return g_dbus_connection_register_object(
            bus_.get(), path, g_dbus_node_info_lookup_interface(Node.get(), interface), calls,
            nullptr, nullptr, nullptr);
    }

    GRef<GDBusConnection> bus_;
    guint item_ = 0;
    guint menu_ = 0;
};

std::unique_ptr<Exported> Objects;

struct Watch {
    guint id = 0;
    ~Watch() {
        if (id != 0) g_bus_unwatch_name(id);
    }
};
std::unique_ptr<Watch> WatcherWatch;

void OnWatcher(GDBusConnection* bus, const gchar*, const gchar*, gpointer) {
    if (!Objects) Objects = std::make_unique<Exported>(bus);
    // By object path: the watcher takes our bus name from the call.
    g_dbus_connection_call(bus, WatcherName, WatcherPath, WatcherName, "RegisterStatusNotifierItem",
                           g_variant_new("(s)", ItemPath), nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START,
                           -1, nullptr, nullptr, nullptr);
    ShowStatusIcon(false);
}

void OnNoWatcher(GDBusConnection*, const gchar*, gpointer) {
    Objects.reset();
    ShowStatusIcon(true);
}

}  // namespace

bool StartStatusNotifier(int image, int menu, const std::string& title) {
    GDBusConnection* bus = SessionBus();
    if (bus == nullptr) return false;
    if (!Node) Node.reset(g_dbus_node_info_new_for_xml(Introspection, nullptr));
    Image = image;
    Menu = menu;
    Title = title;
    WatcherWatch = std::make_unique<Watch>();
    WatcherWatch->id = g_bus_watch_name_on_connection(
        bus, WatcherName, G_BUS_NAME_WATCHER_FLAGS_NONE, OnWatcher, OnNoWatcher, nullptr, nullptr);
    return true;
}

void StopStatusNotifier() {
    WatcherWatch.reset();
    Objects.reset();
}

void SetStatusNotifierDetails(const std::string& details) {
    if (details == Details) return;
    Details = details;
    if (Objects) {
        g_dbus_connection_emit_signal(SessionBus(), nullptr, ItemPath, ItemInterface, "NewToolTip",
                                      nullptr, nullptr);
    }
}
