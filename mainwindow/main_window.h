// The main window, its images and popup menus, and the tray icon's window.
#pragma once

// Registers the embedded images as 1 to 19.
void RegisterImages();
// Builds the four popup menus.
void CreatePopupMenus();
// Builds window 1 with its gadgets and shows it; false when it cannot be made.
bool OpenMainWindow();
// Lays the gadgets out for the window's new size, or snaps it to 200 x 250.
void RelayoutMainWindow();
// The window manager's close: the window goes behind the tray icon.
void HideMainWindow();
// A left click on the tray icon: the window comes back where it was.
void RestoreMainWindow();
