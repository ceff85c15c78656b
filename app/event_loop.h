// SPDX-License-Identifier: GPL-2.0-or-later
// The event loop: one program event per pass, routed to its handler, and
// the watchdog when it is due.
#pragma once

#include "toolkit/toolkit.h"

// Runs passes until the program is asked to end.
void RunEventLoop();
// One pass: poll, dispatch, watchdog when due, then pause (or, with nothing
// to do, wait for the window system or the watchdog).
void LoopPass();
void Dispatch(const ProgramEvent& event);
