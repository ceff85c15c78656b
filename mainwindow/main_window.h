// SPDX-License-Identifier: GPL-2.0-or-later
// Window 1: the banner, the identity and status lines, the roster and three
// picture buttons; the popup menus; what the window and tray clicks do.
#pragma once

#include <string>

constexpr int MainWindow = 1;

enum MainWindowGadget {
    GadgetBanner = 1,
    GadgetIdentity = 2,
    GadgetStatus = 3,
    GadgetRoster = 4,
    GadgetLogin = 5,
    GadgetNetworks = 6,
    GadgetSettings = 7,
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

struct MainWindowState {
    std::string StatusLine;  // what gadget 3 shows
    // Where the window was when it went behind the tray icon.
    bool PositionKept = false;
    int HiddenX = 0;
    int HiddenY = 0;
};
extern MainWindowState MainWindowShown;

// Builds the four popup menus.
void CreatePopupMenus();
// Builds window 1 with its gadgets and shows it (unless `hidden`, when it
// waits behind the tray icon); false when it cannot be made.
bool OpenMainWindow(bool hidden = false);
// Gadget 5's face for the client's state, named for what a click does.
void ShowLoginButton(bool loggedIn);
// Gadget 3: the nickname, or a status message.
void ShowStatusLine(const std::string& text);
// "on": the logged-in look, the state file read again and shown; anything
// else: the logged-out look, the roster emptied.
void ShowClientState(const std::string& mode);
// Reads the client's state file and probe again, and shows the identity and
// the nickname the file holds.
void RefreshClientState();
// Lays the gadgets out for the window's new size, or snaps it to 200 x 250.
void RelayoutMainWindow();
// The window manager's close: the window goes behind the tray icon.
void HideMainWindow();
// A left click on the tray icon: the window comes back where it was.
void RestoreMainWindow();
// A right click on the roster: the network menu on a network row, the member
// menu otherwise.
void OpenRosterMenu();
