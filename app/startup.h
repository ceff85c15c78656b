// SPDX-License-Identifier: GPL-2.0-or-later
// The program's run: start-up, the event loop, and the end.
#pragma once

#include "app/arguments.h"

// Start-up after the toolkit, up to the event loop.  False when the program
// is to end: a check failed or was declined.
bool StartUp(const Arguments& arguments);
// The whole program; the exit status.
int RunCorvane(int argc, char** argv);
// Releases the tray icon, windows, menus and images.
void EndProgram();
