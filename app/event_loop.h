// SPDX-License-Identifier: GPL-2.0-or-later
// The event loop: one program event per pass, routed to its handler, and
// the watchdog when it is due.
#pragma once

#include <cstdint>

#include "toolkit/toolkit.h"

struct LoopState {
    bool QuitRequested = false;  // the program ends after this pass
    bool EndRequested = false;   // the program ends at once, without finishing the pass
    int32_t LastCheck = 0;       // the millisecond clock at the end of the last watchdog pass
};
extern LoopState Loop;

// Runs passes until the program is asked to end.
void RunEventLoop();
// One pass: poll, dispatch, watchdog when due, then pause (or, with nothing
// to do, wait for the window system or the watchdog).
void LoopPass();
void Dispatch(const ProgramEvent& event);
// Milliseconds until the next watchdog pass is due (0 or less: due now);
// the clock wraps, so differences are taken as signed 32-bit numbers.
int32_t MillisUntilWatchdog(int32_t now, int32_t lastCheck);
