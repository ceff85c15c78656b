// SPDX-License-Identifier: GPL-2.0-or-later
#include <map>
#include <vector>

#include "common/lookup.h"
#include "toolkit/internal.h"

namespace {

std::map<int, Gadget> Gadgets;

}  // namespace

void OnButtonClicked(GtkButton*, gpointer data) {
    int gadget = GPOINTER_TO_INT(data);
    if (Gadget* record = FindGadget(gadget)) {
        QueueEvent(EventGadget, gadget, record->window, LeftClick, gtk_get_current_event_time());
    }
}

Gadget* FindGadget(int gadget) {
    return FindIn(Gadgets, gadget);
}

PressType PressTypeOf(const GdkEventButton* event) {
    if (event->type == GDK_2BUTTON_PRESS) return PressType::Double;
    if (event->type == GDK_3BUTTON_PRESS) return PressType::Triple;
    return PressType::Single;
}

bool PlaceGadget(int gadget, int window, GadgetKind kind, GtkWidget* outer, GtkWidget* inner, int x,
                 int y, int width, int height) {
    GtkWidget* container = OpenPageArea(window);
    if (container == nullptr) container = WindowContainer(window);
    if (container == nullptr || outer == nullptr) {
        if (outer != nullptr) gtk_widget_destroy(outer);
        return false;
    }
    if (Gadget* old = FindGadget(gadget)) {
        GtkWidget* stale = old->outer;
        if (old->kind == GadgetKind::Tree) ForgetTreeState(gadget);
        Gadgets.erase(gadget);
        gtk_widget_destroy(stale);
    }
    gtk_widget_set_size_request(outer, width, height);
    gtk_fixed_put(GTK_FIXED(container), outer, x, y);
    gtk_widget_show(outer);
    Gadget& record = Gadgets[gadget];
    record.window = window;
    record.kind = kind;
    record.outer = outer;
    record.inner = inner;
    record.box = GadgetBox{x, y, width, height};
    return true;
}

void ForgetGadgetsOf(int window) {
    std::vector<int> owned;
    for (const auto& [number, gadget] : Gadgets) {
        if (gadget.window == window) owned.push_back(number);
    }
    for (int number : owned) {
        if (Gadgets[number].kind == GadgetKind::Tree) ForgetTreeState(number);
        Gadgets.erase(number);
    }
}

bool AddImageGadget(int gadget, int window, int x, int y, int image) {
    GtkWidget* picture = gtk_image_new_from_pixbuf(ImagePixbuf(image));
    if (!PlaceGadget(gadget, window, GadgetKind::Image, picture, picture, x, y, -1, -1)) {
        return false;
    }
    Gadget* record = FindGadget(gadget);
    record->image = image;
    record->box.width = ImageWidth(image);  // drawn at its own size
    record->box.height = ImageHeight(image);
    return true;
}

bool AddLabel(int gadget, int window, int x, int y, int width, int height, const std::string& text,
              Align align) {
    GtkWidget* label = gtk_label_new(ShownUtf8(text).c_str());
    gtk_misc_set_alignment(GTK_MISC(label), align == Align::Center ? 0.5f : 0.0f, 0.5f);
    gtk_label_set_single_line_mode(GTK_LABEL(label), TRUE);
    if (!PlaceGadget(gadget, window, GadgetKind::Label, label, label, x, y, width, height)) {
        return false;
    }
    FindGadget(gadget)->text = text;
    return true;
}

bool AddImageButton(int gadget, int window, int x, int y, int width, int height, int image) {
    GtkWidget* button = gtk_button_new();
    GtkWidget* picture = gtk_image_new_from_pixbuf(ImagePixbuf(image));
    gtk_container_add(GTK_CONTAINER(button), picture);
    gtk_widget_show(picture);
    if (!PlaceGadget(gadget, window, GadgetKind::ImageButton, button, picture, x, y, width,
                     height)) {
        return false;
    }
    FindGadget(gadget)->image = image;
    g_signal_connect(button, "clicked", G_CALLBACK(OnButtonClicked), GINT_TO_POINTER(gadget));
    return true;
}

void SetGadgetText(int gadget, const std::string& text) {
    Gadget* record = FindGadget(gadget);
    if (record == nullptr) return;
    if (record->kind == GadgetKind::Entry) {
        SetEntryText(*record, text);
        return;
    }
    record->text = text;
    if (record->kind == GadgetKind::Label) {
        gtk_label_set_text(GTK_LABEL(record->inner), ShownUtf8(text).c_str());
        // A label places its text by its own size, which GTK otherwise
        // measures only in an idle pass: a repaint while a command runs
        // comes before it.
        GtkRequisition measured;
        gtk_widget_size_request(record->inner, &measured);
    }
}

std::string GadgetText(int gadget) {
    Gadget* record = FindGadget(gadget);
    if (record == nullptr) return "";
    if (record->kind == GadgetKind::Tree) return TreeSelectedText(gadget);
    if (record->kind == GadgetKind::Entry) return EntryText(*record);
    return record->text;
}

void SetGadgetSensitive(int gadget, bool sensitive) {
    if (Gadget* record = FindGadget(gadget)) gtk_widget_set_sensitive(record->outer, sensitive);
}

void MoveGadget(int gadget, int x, int y) {
    Gadget* record = FindGadget(gadget);
    if (record == nullptr) return;
    record->box.x = x;
    record->box.y = y;
    gtk_fixed_move(GTK_FIXED(gtk_widget_get_parent(record->outer)), record->outer, x, y);
}

void ResizeGadget(int gadget, int width, int height) {
    Gadget* record = FindGadget(gadget);
    if (record == nullptr) return;
    record->box.width = width;
    record->box.height = height;
    gtk_widget_set_size_request(record->outer, width, height);
}

GadgetBox GadgetGeometry(int gadget) {
    Gadget* record = FindGadget(gadget);
    return record == nullptr ? GadgetBox{} : record->box;
}

void SetButtonImage(int gadget, int image) {
    Gadget* record = FindGadget(gadget);
    if (record == nullptr || record->kind != GadgetKind::ImageButton) return;
    record->image = image;
    gtk_image_set_from_pixbuf(GTK_IMAGE(record->inner), ImagePixbuf(image));
}

void SetGadgetAccessibleName(int gadget, const std::string& name) {
    if (Gadget* record = FindGadget(gadget)) {
        atk_object_set_name(gtk_widget_get_accessible(record->outer), ShownUtf8(name).c_str());
    }
}

void SetGadgetTooltip(int gadget, const std::string& text) {
    if (Gadget* record = FindGadget(gadget)) {
        gtk_widget_set_tooltip_text(record->outer, ShownUtf8(text).c_str());
    }
}
