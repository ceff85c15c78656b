// SPDX-License-Identifier: GPL-2.0-or-later
// Frames, framed labels and pictures, multi-line labels and pages.
#include "toolkit/internal.h"

namespace {

int FilledPage = 0;  // the page BeginPage opened, 0 when none

GtkWidget* SunkenFrame(GtkWidget* child) {
    GtkWidget* frame = gtk_frame_new(nullptr);
    gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_IN);
    gtk_container_add(GTK_CONTAINER(frame), child);
    gtk_widget_show(child);
    return frame;
}

GtkWidget* LeftLabel(const std::string& text, bool singleLine) {
    GtkWidget* label = gtk_label_new(ShownUtf8(text).c_str());
    gtk_misc_set_alignment(GTK_MISC(label), 0.0f, 0.5f);
    gtk_label_set_single_line_mode(GTK_LABEL(label), singleLine);
    return label;
}

}  // namespace

bool AddFrame(int gadget, int window, int x, int y, int width, int height,
              const std::string& title) {
    GtkWidget* frame = gtk_frame_new(ShownUtf8(title).c_str());
    gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_ETCHED_IN);
    if (!PlaceGadget(gadget, window, GadgetKind::Frame, frame, frame, x, y, width, height)) {
        return false;
    }
    FindGadget(gadget)->text = title;
    return true;
}

bool AddSunkenLabel(int gadget, int window, int x, int y, int width, int height,
                    const std::string& text) {
    GtkWidget* label = LeftLabel(text, true);
    if (!PlaceGadget(gadget, window, GadgetKind::Label, SunkenFrame(label), label, x, y, width,
                     height)) {
        return false;
    }
    FindGadget(gadget)->text = text;
    return true;
}

bool AddTextBlock(int gadget, int window, int x, int y, int width, int height,
                  const std::string& text) {
    GtkWidget* label = LeftLabel(text, false);
    if (!PlaceGadget(gadget, window, GadgetKind::Label, label, label, x, y, width, height)) {
        return false;
    }
    FindGadget(gadget)->text = text;
    return true;
}

bool AddFramedImage(int gadget, int window, int x, int y, int image) {
    GtkWidget* picture = gtk_image_new_from_pixbuf(ImagePixbuf(image));
    GtkWidget* frame = SunkenFrame(picture);
    if (!PlaceGadget(gadget, window, GadgetKind::Image, frame, picture, x, y, -1, -1)) {
        return false;
    }
    Gadget* record = FindGadget(gadget);
    record->image = image;
    GtkRequisition size{};
    gtk_widget_size_request(frame, &size);
    record->box.width = size.width;
    record->box.height = size.height;
    return true;
}

bool AddPage(int gadget, int window, int x, int y, int width, int height) {
    GtkWidget* area = gtk_fixed_new();
    return PlaceGadget(gadget, window, GadgetKind::Page, SunkenFrame(area), area, x, y, width,
                       height);
}

void BeginPage(int page) {
    Gadget* record = FindGadget(page);
    FilledPage = record != nullptr && record->kind == GadgetKind::Page ? page : 0;
}

void EndPage() {
    FilledPage = 0;
}

GtkWidget* OpenPageArea(int window) {
    Gadget* page = FilledPage == 0 ? nullptr : FindGadget(FilledPage);
    return page != nullptr && page->window == window ? page->inner : nullptr;
}

void ShowGadget(int gadget) {
    if (Gadget* record = FindGadget(gadget)) gtk_widget_show(record->outer);
}

void HideGadget(int gadget) {
    if (Gadget* record = FindGadget(gadget)) gtk_widget_hide(record->outer);
}
