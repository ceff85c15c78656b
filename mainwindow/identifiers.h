// The numbers by which windows, gadgets, menus, menu items and images are known.
#pragma once

enum WindowNumber {
    MainWindow = 1,
    CreateNetworkWindow = 3,
    JoinNetworkWindow = 4,
    StatusWindow = 5,
    NicknameWindow = 6,
    AboutWindow = 7,
};

enum MainGadget {
    GadgetBanner = 1,
    GadgetIdentity = 2,
    GadgetStatus = 3,
    GadgetRoster = 4,
    GadgetLogin = 5,
    GadgetNetworks = 6,
    GadgetSettings = 7,
};

// Gadgets of the secondary windows that the event loop routes.
enum DialogGadget {
    GadgetCreate = 22,
    GadgetCreateCancel = 23,
    GadgetJoin = 35,
    GadgetJoinCancel = 36,
    GadgetChangeNickname = 51,
    GadgetStatusTab = 52,
    GadgetSystemTab = 53,
    GadgetConfirmEvict = 56,
    GadgetKeepAlive = 58,
    GadgetTxRate = 60,
    GadgetRxRate = 62,
    GadgetUpdate = 65,
    GadgetBackupIdentity = 66,
    GadgetNicknameChange = 71,
    GadgetNicknameCancel = 72,
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

enum ImageNumber {
    ImageBanner = 1,
    ImageLoggedIn = 2,
    ImageNetworks = 3,
    ImageSettings = 4,
    ImageDotOnline = 5,
    ImageDotOffline = 6,
    ImageLoggedOut = 7,
    ImageDotCrossed = 8,
    ImageSystemTabSelected = 9,
    ImageSystemTab = 10,
    ImageStatusTab = 11,
    ImageStatusTabSelected = 12,
    ImageEmblem = 13,
    ImageTray = 14,
    ImageCreateNetwork = 15,
    ImageJoinNetwork = 16,
    ImageStatusTabFirst = 17,
    ImageSystemTabFirst = 18,
    ImageAbout = 19,
};
