// SPDX-License-Identifier: GPL-2.0-or-later
// The main window, the popup menus, and what the window and tray clicks do.
#pragma once

// Builds the four popup menus.
void CreatePopupMenus();
// Builds window 1 with its gadgets and shows it; false when it cannot be made.
bool OpenMainWindow();
// Gadget 5's face for the client's state, named for what a click does.
void ShowLoginButton(bool loggedIn);
// Lays the gadgets out for the window's new size, or snaps it to 200 x 250.
void RelayoutMainWindow();
// The window manager's close: the window goes behind the tray icon.
void HideMainWindow();
// A left click on the tray icon: the window comes back where it was.
void RestoreMainWindow();
// A right click on the roster: the network menu on a network row, the member
// menu otherwise.
void OpenRosterMenu();
