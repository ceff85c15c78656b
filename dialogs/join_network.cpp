// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/join_network.h"

#include "dialogs/network_dialog.h"
#include "image_list.h"
#include "toolkit/toolkit.h"

void OpenJoinNetworkDialog() {
    const int w = JoinNetworkWindow;
    if (!OpenWindow(w, "Join the network", 400, 235, WindowCentered)) return;
    AddImageGadget(GadgetJoinPicture, w, 325, 160, ImageJoinNetwork);
    AddFrame(GadgetJoinNameFrame, w, 10, 10, 265, 90, "Network Name");
    AddLabel(GadgetJoinNameText1, w, 25, 30, 230, 15, "Enter the name of the network",
             Align::Left);
    AddEntry(GadgetJoinName, w, 25, 70, 230, 20, "");
    AddButton(GadgetJoin, w, 300, 15, 80, 25, "Join");
    AddButton(GadgetJoinCancel, w, 300, 45, 80, 25, "Cancel");
    AddFrame(GadgetJoinPasswordFrame, w, 10, 115, 265, 105, "Network Password");
    AddLabel(GadgetJoinPasswordText1, w, 25, 135, 230, 15, "If you have the password for the",
             Align::Left);
    AddEntry(GadgetJoinPassword, w, 25, 190, 230, 20, "", EntryHidden);
    AddLabel(GadgetJoinNameText2, w, 25, 45, 230, 15, "you want to join.", Align::Left);
    AddLabel(GadgetJoinPasswordText2, w, 25, 150, 230, 15, "network, enter it below.  Otherwise",
             Align::Left);
    AddLabel(GadgetJoinPasswordText3, w, 25, 165, 230, 15, "leave the field blank.", Align::Left);
    SetGadgetAccessibleName(GadgetJoinName, "Network Name");
    SetGadgetAccessibleName(GadgetJoinPassword, "Network Password");
    ShowWindow(w);
}

bool JoinNetwork() {
    return SubmitNetworkDialog(
        {JoinNetworkWindow, GadgetJoinName, GadgetJoinPassword, NetworkRequest::Join});
}
