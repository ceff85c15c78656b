// SPDX-License-Identifier: GPL-2.0-or-later
// Entries, text buttons and check boxes.
#include <cstring>

#include "toolkit/internal.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string DigitsOf(const char* text, size_t length) {
    std::string digits;
    for (size_t i = 0; i < length; ++i) {
        if (IsDigit(text[i])) digits += text[i];
    }
    return digits;
}

// Every way text enters an entry (typing, pasting, the program) passes here;
// bytes of multi-byte characters are never digits, so dropping by byte is safe.
void OnDigitsInsert(GtkEditable* editable, const gchar* text, gint length, gint* position,
                    gpointer data) {
    const size_t size = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
    const std::string digits = DigitsOf(text, size);
    if (digits.size() == size) return;
    g_signal_stop_emission_by_name(editable, "insert-text");
    if (digits.empty()) return;
    g_signal_handlers_block_by_func(editable, reinterpret_cast<gpointer>(OnDigitsInsert), data);
    gtk_editable_insert_text(editable, digits.data(), static_cast<gint>(digits.size()), position);
    g_signal_handlers_unblock_by_func(editable, reinterpret_cast<gpointer>(OnDigitsInsert), data);
}

void Post(gpointer data, int subtype, guint32 time) {
    const int gadget = GPOINTER_TO_INT(data);
    if (Gadget* record = FindGadget(gadget)) {
        QueueEvent(EventGadget, gadget, record->window, subtype, time);
    }
}

void OnEntryChanged(GtkEditable*, gpointer data) {
    Post(data, TextChanged, GDK_CURRENT_TIME);
}

gboolean OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer data) {
    Post(data, FocusGained, GDK_CURRENT_TIME);
    return FALSE;
}

gboolean OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer data) {
    Post(data, FocusLost, GDK_CURRENT_TIME);
    return FALSE;
}

void OnToggled(GtkToggleButton*, gpointer data) {
    Post(data, LeftClick, gtk_get_current_event_time());
}

Gadget* FindKind(int gadget, GadgetKind kind) {
    Gadget* record = FindGadget(gadget);
    return record != nullptr && record->kind == kind ? record : nullptr;
}

}  // namespace

bool AddEntry(int gadget, int window, int x, int y, int width, int height,
              const std::string& text, unsigned flags) {
    GtkWidget* entry = gtk_entry_new();
    const bool digitsOnly = flags & EntryDigitsOnly;
    if (digitsOnly) {
        g_signal_connect(entry, "insert-text", G_CALLBACK(OnDigitsInsert), nullptr);
    }
    gtk_entry_set_visibility(GTK_ENTRY(entry), (flags & EntryHidden) ? FALSE : TRUE);
    gtk_entry_set_text(GTK_ENTRY(entry), Latin9ToUtf8(text).c_str());
    if (!PlaceGadget(gadget, window, GadgetKind::Entry, entry, entry, x, y, width, height)) {
        return false;
    }
    FindGadget(gadget)->digitsOnly = digitsOnly;
    // Connected after the first text, so that building the entry posts nothing.
    gpointer data = GINT_TO_POINTER(gadget);
    g_signal_connect(entry, "changed", G_CALLBACK(OnEntryChanged), data);
    g_signal_connect(entry, "focus-in-event", G_CALLBACK(OnFocusIn), data);
    g_signal_connect(entry, "focus-out-event", G_CALLBACK(OnFocusOut), data);
    return true;
}

void SetEntryText(Gadget& entry, const std::string& text) {
    const std::string shown = entry.digitsOnly ? DigitsOf(text.data(), text.size()) : text;
    if (EntryText(entry) == Latin9ToUtf8(shown)) return;
    gtk_entry_set_text(GTK_ENTRY(entry.inner), Latin9ToUtf8(text).c_str());
}

std::string EntryText(const Gadget& entry) {
    return gtk_entry_get_text(GTK_ENTRY(entry.inner));
}

std::optional<std::string> EntryLatin9Text(int gadget) {
    Gadget* record = FindKind(gadget, GadgetKind::Entry);
    if (record == nullptr) return "";
    return Utf8ToLatin9(EntryText(*record));
}

bool AddButton(int gadget, int window, int x, int y, int width, int height,
               const std::string& text) {
    GtkWidget* button = gtk_button_new_with_label(ShownUtf8(text).c_str());
    if (!PlaceGadget(gadget, window, GadgetKind::Button, button, button, x, y, width, height)) {
        return false;
    }
    FindGadget(gadget)->text = text;
    g_signal_connect(button, "clicked", G_CALLBACK(OnButtonClicked), GINT_TO_POINTER(gadget));
    return true;
}

bool AddCheckBox(int gadget, int window, int x, int y, int width, int height,
                 const std::string& text) {
    GtkWidget* box = gtk_check_button_new_with_label(ShownUtf8(text).c_str());
    if (!PlaceGadget(gadget, window, GadgetKind::CheckBox, box, box, x, y, width, height)) {
        return false;
    }
    FindGadget(gadget)->text = text;
    g_signal_connect(box, "toggled", G_CALLBACK(OnToggled), GINT_TO_POINTER(gadget));
    return true;
}

void SetCheckBox(int gadget, bool ticked) {
    if (Gadget* record = FindKind(gadget, GadgetKind::CheckBox)) {
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(record->inner), ticked);
    }
}

bool CheckBoxTicked(int gadget) {
    Gadget* record = FindKind(gadget, GadgetKind::CheckBox);
    return record != nullptr && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(record->inner));
}
