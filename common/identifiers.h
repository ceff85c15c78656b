// SPDX-License-Identifier: GPL-2.0-or-later
// The numbers by which windows, gadgets, menus, menu items and images are
// known everywhere in the program.  Gadget numbers are unique across windows.
#pragma once

#include "image_list.h"  // ImageNumber, made from resources/images.list

enum WindowNumber {
    MainWindow = 1,
    CreateNetworkWindow = 3,
    JoinNetworkWindow = 4,
    StatusWindow = 5,
    NicknameWindow = 6,
    AboutWindow = 7,
};

enum GadgetNumber {
    // Main window
    GadgetBanner = 1,
    GadgetIdentity = 2,
    GadgetStatus = 3,
    GadgetRoster = 4,
    GadgetLogin = 5,
    GadgetNetworks = 6,
    GadgetSettings = 7,
    // Create a network
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
    // Join a network
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
    // Status and configuration
    GadgetStatusPage = 43,
    GadgetVersionCaption = 45,
    GadgetVersion = 46,
    GadgetAddressCaption = 47,
    GadgetAddress = 48,
    GadgetNicknameCaption = 49,
    GadgetNickname = 50,
    GadgetChangeNickname = 51,
    GadgetStatusTab = 52,
    GadgetSystemTab = 53,
    GadgetSystemPage = 54,
    GadgetConfirmEvict = 56,
    GadgetKeepAliveCaption = 57,
    GadgetKeepAlive = 58,
    GadgetTxRateCaption = 59,
    GadgetTxRate = 60,
    GadgetRxRateCaption = 61,
    GadgetRxRate = 62,
    GadgetNetworkFrame = 63,
    GadgetConfirmationsFrame = 64,
    GadgetUpdate = 65,
    GadgetBackupIdentity = 66,
    // Change the nickname
    GadgetCurrentNickCaption = 67,
    GadgetNewNickCaption = 68,
    GadgetCurrentNick = 69,
    GadgetNewNick = 70,
    GadgetNicknameChange = 71,
    GadgetNicknameCancel = 72,
    // About
    GadgetAboutPicture = 73,
    GadgetAboutText = 74,
    GadgetAboutAddress = 75,
    GadgetAboutVersion = 76,
};

enum MenuNumber {
    MenuNetwork = 0,
    MenuMember = 1,
    MenuNetworks = 2,
    MenuTray = 3,
};

enum MenuItem {
    ItemGoOnline = 1,
    ItemGoOffline = 2,
    ItemLeaveNetwork = 3,
    ItemDeleteNetwork = 4,
    ItemPing = 5,
    ItemBrowse = 6,
    ItemCopyAddress = 7,
    ItemEvictUser = 8,
    ItemCreateNetwork = 9,
    ItemJoinNetwork = 10,
    ItemControlPc = 11,
    ItemGiveControl = 12,
    ItemExit = 100,
    ItemAbout = 101,
};
