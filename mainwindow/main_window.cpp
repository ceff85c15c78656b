// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/main_window.h"

#include "client/client_state.h"
#include "image_list.h"
#include "mainwindow/roster_view.h"
#include "toolkit/toolkit.h"

MainWindowState MainWindowShown;

namespace {

constexpr int MinimumWidth = 200;
constexpr int MinimumHeight = 250;

// A picture button says nothing to a screen reader or a newcomer by itself.
void NameButton(int gadget, const char* name) {
    SetGadgetAccessibleName(gadget, name);
    SetGadgetTooltip(gadget, name);
}

// The tray icon's tooltip, where it has room for more than the name.
void ShowTrayDetails() {
    SetTrayDetails(Client.Identity + "\n" + MainWindowShown.StatusLine);
}

}  // namespace

void CreatePopupMenus() {
    if (CreatePopupMenu(MenuNetwork)) {
        AddMenuItem(MenuNetwork, ItemGoOnline, "Go online");
        AddMenuItem(MenuNetwork, ItemGoOffline, "Go offline");
        AddMenuSeparator(MenuNetwork);
        AddMenuItem(MenuNetwork, ItemLeaveNetwork, "Leave network");
        AddMenuItem(MenuNetwork, ItemDeleteNetwork, "Delete network");
    }
    if (CreatePopupMenu(MenuMember)) {
        AddMenuItem(MenuMember, ItemPing, "Ping");
        AddMenuItem(MenuMember, ItemBrowse, "Browse");
        AddMenuItem(MenuMember, ItemCopyAddress, "Copy address");
        AddMenuSeparator(MenuMember);
        AddMenuItem(MenuMember, ItemEvictUser, "Evict user");
        AddMenuSeparator(MenuMember);
        BeginSubmenu(MenuMember, "VNC");
        AddMenuItem(MenuMember, ItemControlPc, "Control this PC");
        AddMenuItem(MenuMember, ItemGiveControl, "Give control to this PC");
        EndSubmenu(MenuMember);
    }
    if (CreatePopupMenu(MenuNetworks)) {
        AddMenuItem(MenuNetworks, ItemCreateNetwork, "Create new network..");
        AddMenuItem(MenuNetworks, ItemJoinNetwork, "Join existing network..");
    }
    if (CreatePopupMenu(MenuTray)) {
        AddMenuItem(MenuTray, ItemExit, "Exit");
        AddMenuSeparator(MenuTray);
        AddMenuItem(MenuTray, ItemAbout, "About");
    }
}

bool OpenMainWindow(bool hidden) {
    if (!OpenWindow(MainWindow, "Corvane", 250, 270, WindowResizable | WindowCentered)) {
        return false;
    }
    MainWindowShown = {};
    AddImageGadget(GadgetBanner, MainWindow, 0, 0, ImageBanner);
    AddLabel(GadgetIdentity, MainWindow, 5, 30, 240, 20, "", Align::Center);
    AddLabel(GadgetStatus, MainWindow, 5, 50, 240, 20, "", Align::Center);
    AddTree(GadgetRoster, MainWindow, 5, 75, 240, 145);
    AddImageButton(GadgetLogin, MainWindow, 5, 225, 43, 43, ImageLoggedIn);
    AddImageButton(GadgetNetworks, MainWindow, 157, 225, 43, 43, ImageNetworks);
    AddImageButton(GadgetSettings, MainWindow, 202, 225, 43, 43, ImageSettings);
    ShowLoginButton(true);  // the face it was built with
    NameButton(GadgetNetworks, "Networks");
    NameButton(GadgetSettings, "Status and configuration");
    if (!hidden) ShowWindow(MainWindow);
    return true;
}

void ShowLoginButton(bool loggedIn) {
    SetButtonImage(GadgetLogin, loggedIn ? ImageLoggedIn : ImageLoggedOut);
    NameButton(GadgetLogin, loggedIn ? "Log out" : "Log in");
}

void ShowStatusLine(const std::string& text) {
    MainWindowShown.StatusLine = text;
    SetGadgetText(GadgetStatus, text);
    ShowTrayDetails();
}

void ShowClientState(const std::string& mode) {
    const bool on = mode == "on";
    if (!on) ShowStatusLine("offline");
    for (int gadget : {GadgetIdentity, GadgetRoster, GadgetNetworks, GadgetSettings}) {
        SetGadgetSensitive(gadget, on);
    }
    if (on) {
        RefreshClientState();
    } else {
        ClearRoster();
    }
}

void RefreshClientState() {
    const StateFileFound found = ReadClientState();
    if (found.identity) SetGadgetText(GadgetIdentity, Client.Identity);
    // The status line brings the tray's tooltip along; without it, the
    // tooltip still shows the identity read.
    if (found.nickname) {
        ShowStatusLine(Client.Nickname);
    } else {
        ShowTrayDetails();
    }
}

void RelayoutMainWindow() {
    int width = 0;
    int height = 0;
    if (!GetWindowSize(MainWindow, &width, &height)) return;
    if (width > MinimumWidth && height > MinimumHeight) {
        const GadgetBox identity = GadgetGeometry(GadgetIdentity);
        ResizeGadget(GadgetIdentity, width - 10, identity.height);
        SetGadgetText(GadgetIdentity, Client.Identity);
        const GadgetBox status = GadgetGeometry(GadgetStatus);
        ResizeGadget(GadgetStatus, width - 10, status.height);
        ShowStatusLine(Client.Nickname);
        ResizeGadget(GadgetRoster, width - 10, height - 125);
        MoveGadget(GadgetSettings, width - 47, height - 45);
        MoveGadget(GadgetNetworks, width - 92, height - 45);
        MoveGadget(GadgetLogin, GadgetGeometry(GadgetLogin).x, height - 45);
    } else {
        ResizeWindow(MainWindow, MinimumWidth, MinimumHeight);
    }
    DrainEvents();
}

void HideMainWindow() {
    IconifyWindow(MainWindow);
    MainWindowShown.PositionKept =
        GetWindowPosition(MainWindow, &MainWindowShown.HiddenX, &MainWindowShown.HiddenY);
    HideWindow(MainWindow);
}

void RestoreMainWindow() {
    // A window never shown yet (started hidden) is centred when first shown.
    if (!WindowIsVisible(MainWindow) && MainWindowShown.PositionKept) {
        MoveWindow(MainWindow, MainWindowShown.HiddenX, MainWindowShown.HiddenY);
    }
    ShowWindow(MainWindow);
}

void OpenRosterMenu() {
    ShowPopupMenu(IsNetworkRow(SelectedRowText()) ? MenuNetwork : MenuMember);
}
