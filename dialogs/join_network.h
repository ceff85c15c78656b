// SPDX-License-Identifier: GPL-2.0-or-later
// Window 4: join a network by its name and, where it has one, its password.
#pragma once

constexpr int JoinNetworkWindow = 4;

enum JoinNetworkGadget {
    GadgetJoinPicture = 31,
    GadgetJoinNameFrame = 32,
    GadgetJoinNameText1 = 33,
    GadgetJoinName = 34,
    GadgetJoin = 35,
    GadgetJoinCancel = 36,
    GadgetJoinPasswordFrame = 37,
    GadgetJoinPasswordText1 = 38,
    GadgetJoinPassword = 39,
    GadgetJoinNameText2 = 40,
    GadgetJoinPasswordText2 = 41,
    GadgetJoinPasswordText3 = 42,
};

// Builds the dialog afresh, both entries empty.
void OpenJoinNetworkDialog();
// "Join": runs "hamachi join"; the dialog stays open on a wrong password.
// True when the network was joined (the dialog is then closed).
bool JoinNetwork();
