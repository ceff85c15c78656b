// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/create_network.h"

#include "dialogs/network_dialog.h"
#include "image_list.h"
#include "toolkit/toolkit.h"

void OpenCreateNetworkDialog() {
    const int w = CreateNetworkWindow;
    if (!OpenWindow(w, "Create New Network", 400, 260, WindowCentered)) return;
    AddImageGadget(GadgetCreatePicture, w, 325, 180, ImageCreateNetwork);
    AddFrame(GadgetCreateNameFrame, w, 10, 10, 265, 110, "Network Name");
    AddLabel(GadgetCreateNameText1, w, 25, 30, 230, 15, "Please select the name for the",
             Align::Left);
    AddEntry(GadgetCreateName, w, 25, 90, 230, 20, "");
    AddButton(GadgetCreate, w, 300, 15, 80, 25, "Create");
    AddButton(GadgetCreateCancel, w, 300, 45, 80, 25, "Cancel");
    AddFrame(GadgetCreatePasswordFrame, w, 10, 135, 265, 110, "Network Password");
    AddLabel(GadgetCreatePasswordText1, w, 25, 155, 230, 15, "The password is used to prevent",
             Align::Left);
    AddEntry(GadgetCreatePassword, w, 25, 215, 230, 20, "", EntryHidden);
    AddLabel(GadgetCreateNameText2, w, 25, 45, 230, 15, "network. Other people will use",
             Align::Left);
    AddLabel(GadgetCreateNameText3, w, 25, 60, 230, 15, "it to locate and join your network.",
             Align::Left);
    AddLabel(GadgetCreatePasswordText2, w, 25, 170, 230, 15, "random people from joining the",
             Align::Left);
    AddLabel(GadgetCreatePasswordText3, w, 25, 185, 230, 15, "network.", Align::Left);
    SetGadgetAccessibleName(GadgetCreateName, "Network Name");
    SetGadgetAccessibleName(GadgetCreatePassword, "Network Password");
    ShowWindow(w);
}

bool CreateNetwork() {
    return SubmitNetworkDialog(
        {CreateNetworkWindow, GadgetCreateName, GadgetCreatePassword, NetworkRequest::Create});
}
