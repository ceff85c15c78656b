// SPDX-License-Identifier: GPL-2.0-or-later
// The watchdog: every five seconds it probes the client and brings the main
// window in step with it.
#pragma once

#include <cstdint>

// The millisecond clock at the end of the last watchdog pass.
extern int32_t LastCheck;

constexpr int WatchdogPeriodMs = 5000;

// Milliseconds until the next pass is due (0 or less: due now).
int32_t MillisUntilWatchdog();
// Probes the client; follows logins, logouts and a stopped client.
void RunWatchdog();
