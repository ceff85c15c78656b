// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/about.h"

#include "image_list.h"
#include "toolkit/toolkit.h"

namespace {

constexpr const char* AboutText =
    "Corvane - a GUI for Hamachi\n"
    "on Linux (hamachi.example.org)\n"
    " \n"
    "Written by the Corvane team\n"
    "corvane@example.org";

}  // namespace

void OpenAboutWindow() {
    const int w = AboutWindow;
    if (!OpenWindow(w, "Corvane", 330, 149, WindowCentered)) return;
    AddFramedImage(GadgetAboutPicture, w, 240, 10, ImageAbout);
    AddTextBlock(GadgetAboutText, w, 10, 10, 225, 100, "");
    AddLabel(GadgetAboutAddress, w, 10, 125, 315, 15, "https://corvane.example.org/", Align::Left);
    AddLabel(GadgetAboutVersion, w, 240, 100, 85, 15, "", Align::Center);
    ShowWindow(w);
    SetGadgetText(GadgetAboutText, AboutText);
    SetGadgetText(GadgetAboutVersion, "V 0.8.1");
}
