// SPDX-License-Identifier: GPL-2.0-or-later
// Shared state of the toolkit's source files; never included outside toolkit/.
#pragma once

#include <gtk/gtk.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "common/release.h"
#include "toolkit/toolkit.h"

// Owning holders for what GLib and GTK hand out.
using GText = std::unique_ptr<gchar, ReleaseWith<g_free>>;
template <typename T>
using GRef = std::unique_ptr<T, ReleaseWith<g_object_unref>>;
// A top-level widget: destroying it also drops GTK's own reference.
using TopWidget = std::unique_ptr<GtkWidget, ReleaseWith<gtk_widget_destroy>>;
// A widget we hold a reference of our own on (a menu that no window owns).
struct DestroyAndUnref {
    void operator()(GtkWidget* widget) const {
        gtk_widget_destroy(widget);
        g_object_unref(widget);
    }
};
using HeldWidget = std::unique_ptr<GtkWidget, DestroyAndUnref>;

bool IsAscii(const std::string& text);
// The UTF-8 that GTK is given for an 8-bit (ISO-8859-15) text; the bytes
// unchanged when they cannot be converted.
std::string Latin9ToUtf8(const std::string& text);
// UTF-8 back to ISO-8859-15; nothing when a character does not fit.
std::optional<std::string> Utf8ToLatin9(const std::string& text);
// The UTF-8 shown for an 8-bit text: its first ShownChars characters.
std::string ShownUtf8(const std::string& text);

// Queues a program event produced by a GTK signal, remembering the event time
// so that a menu opened for it can take the pointer grab.
void QueueEvent(int kind, int object, int window, int subtype, guint32 time);
guint32 LastEventTime();

GtkWidget* WindowContainer(int window);

enum class GadgetKind { Image, Label, Tree, ImageButton, Button, Entry, CheckBox, Frame, Page };
struct Gadget {
    int window = 0;
    GadgetKind kind = GadgetKind::Label;
    GtkWidget* outer = nullptr;  // what sits in the window's fixed container
    GtkWidget* inner = nullptr;  // the label, tree view or button picture
    std::string text;            // the 8-bit text last set
    int image = 0;
    GadgetBox box;
    ClickState clicks;
    bool digitsOnly = false;  // entries
};
Gadget* FindGadget(int gadget);
// Puts `outer` at x, y of the window; a width or height of -1 keeps the
// widget's own size.
bool PlaceGadget(int gadget, int window, GadgetKind kind, GtkWidget* outer, GtkWidget* inner, int x,
                 int y, int width, int height);
void ForgetGadgetsOf(int window);
// Posts a LeftClick for the button's gadget (the number is the signal data).
void OnButtonClicked(GtkButton* button, gpointer gadget);
// The area of the page being filled (BeginPage) when it lies in `window`.
GtkWidget* OpenPageArea(int window);
void SetEntryText(Gadget& entry, const std::string& text);
std::string EntryText(const Gadget& entry);
PressType PressTypeOf(const GdkEventButton* event);

GdkPixbuf* ImagePixbuf(int image);

// Trees keep their own bookkeeping; called when a tree gadget goes away.
void ForgetTreeState(int gadget);

// The program events queued and not yet taken.
std::deque<ProgramEvent>& QueuedEvents();
// The model a tree gadget shows (or will show), null for another gadget.
GtkTreeModel* TreeModelOf(int gadget);
// A tree gadget's view, shown with its model.
GtkTreeView* ShownTreeView(int gadget);
// A popup menu's widget, null when there is none of that number.
GtkWidget* PopupMenuWidget(int menu);
// The tray icon's tooltip, "" with no icon.
const std::string& TrayIconTooltip();

// The session bus, connected at first use; null when the session names none
// or it cannot be reached.  Never starts a bus.
GDBusConnection* SessionBus();

// The tray's XEmbed icon (a GtkStatusIcon), shown or taken away.
void ShowStatusIcon(bool shown);
// Posts a click as the tray icon would.
void PostTrayClick(int subtype);
// The tray icon's picture; null without a tray icon.
GdkPixbuf* TrayPixbuf();

// The status notifier item: while the session bus has a watcher, it is
// registered there and the XEmbed icon is hidden; while it has none, the
// XEmbed icon shows.  False, doing nothing, without a session bus.  Texts
// are UTF-8.
bool StartStatusNotifier(int image, int menu, const std::string& title);
void StopStatusNotifier();
void SetStatusNotifierDetails(const std::string& details);

