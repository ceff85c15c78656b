// SPDX-License-Identifier: GPL-2.0-or-later
// Window 3: create a network with a name and an optional password.
#pragma once

constexpr int CreateNetworkWindow = 3;

enum CreateNetworkGadget {
    GadgetCreatePicture = 18,
    GadgetCreateNameFrame = 19,
    GadgetCreateNameText1 = 20,
    GadgetCreateName = 21,
    GadgetCreate = 22,
    GadgetCreateCancel = 23,
    GadgetCreatePasswordFrame = 24,
    GadgetCreatePasswordText1 = 25,
    GadgetCreatePassword = 26,
    GadgetCreateNameText2 = 27,
    GadgetCreateNameText3 = 28,
    GadgetCreatePasswordText2 = 29,
    GadgetCreatePasswordText3 = 30,
};

// Builds the dialog afresh, both entries empty.
void OpenCreateNetworkDialog();
// "Create": runs "hamachi create"; the dialog stays open when the client
// refuses.  True when the network was made (the dialog is then closed).
bool CreateNetwork();
