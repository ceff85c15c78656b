// SPDX-License-Identifier: GPL-2.0-or-later
// Window 7: the program's name, credits, web address and version.
#pragma once

constexpr int AboutWindow = 7;

enum AboutGadget {
    GadgetAboutPicture = 73,
    GadgetAboutText = 74,
    GadgetAboutAddress = 75,
    GadgetAboutVersion = 76,
};

void OpenAboutWindow();
