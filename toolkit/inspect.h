// SPDX-License-Identifier: GPL-2.0-or-later
// For tests only (the program does not link it): what the windows show, and
// a hand on the window system's events.
#pragma once

#include <string>

#include "toolkit/toolkit.h"

bool WindowIsOpen(int window);
bool GadgetSensitive(int gadget);
bool GadgetVisible(int gadget);
int ButtonImage(int gadget);
// The UTF-8 GTK is given to draw a label.
std::string GadgetShownText(int gadget);
bool PopupMenuShown(int menu);
void HidePopupMenus();
std::string TrayTooltip();

// Inserts at the cursor, as typing or pasting does.
void InsertGadgetText(int gadget, const std::string& text);

void PostEvent(const ProgramEvent& event);
void DropQueuedEvents();
int QueuedEventCount();
// Lets GTK handle what is pending, keeping the program events it produces
// queued.
void HandlePendingWindowEvents();

// The tree as shown.
int TreeRowCount(int gadget);
void TreeSelectRow(int gadget, int row);
void TreeCollapseRow(int gadget, int row);
bool TreeRowExpanded(int gadget, int row);
struct TreeRowLook {
    int level = -1;
    int image = 0;
    bool grey = false;
    std::string shown;  // the UTF-8 GTK is given to draw
};
TreeRowLook TreeRowAppearance(int gadget, int row);
// The column's width, and the pixel width of a text in the tree.
int TreeColumnWidth(int gadget);
int TreeTextWidth(int gadget, const std::string& text);
