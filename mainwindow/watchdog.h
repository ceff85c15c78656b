// SPDX-License-Identifier: GPL-2.0-or-later
// The watchdog: every five seconds it probes the client and brings the main
// window in step with it.
#pragma once

constexpr int WatchdogPeriodMs = 5000;

// Probes the client; follows logins, logouts and a stopped client.  False
// when the user declined to restart a stopped client: the program ends.
bool RunWatchdog();
