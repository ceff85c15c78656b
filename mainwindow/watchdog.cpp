// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/watchdog.h"

#include "client/client_state.h"
#include "client/command_runner.h"
#include "client/roster.h"
#include "common/identifiers.h"
#include "common/text.h"
#include "mainwindow/login.h"
#include "mainwindow/main_window.h"
#include "toolkit/toolkit.h"

int32_t LastCheck = 0;

int32_t MillisUntilWatchdog() {
    // The clock wraps; differences are taken as signed 32-bit numbers.
    const auto since = static_cast<int32_t>(static_cast<uint32_t>(Millis()) -
                                            static_cast<uint32_t>(LastCheck));
    return WatchdogPeriodMs + 1 - since;
}

void RunWatchdog() {
    const std::string probe = RunProbe();
    if (Contains(probe, "does not seem to be running") && !ClientStoppedByUser) {
        ShowLoginButton(false);
        SetGadgetText(GadgetStatus, "Hamachi not running ..");
        DrainEvents();
        ShowClientState("off");
        if (AskYesNo("Hamachi Error",
                     "Hamachi is no longer running.  Do you want to\n"
                     "restart Hamachi?   (No quits client).")) {
            WaitForRunner();
            RunCommand("hamachi start");
        } else {
            QuitRequested = true;
        }
    }
    const bool loggedIn = Contains(probe, ": logged in");
    if (!loggedIn && ClientLoggedIn) {
        ShowLoginButton(false);
        ShowClientState("off");
        ClientLoggedIn = false;
    }
    if (ClientLoggedIn) {
        RefreshRoster();
    } else if (loggedIn) {
        ShowLoginButton(true);
        ShowClientState("on");
        RefreshRoster();
        ClientLoggedIn = true;
    } else {
        ClientStatusText = ProbeStatusText(probe);
        SetGadgetText(GadgetStatus, ClientStatusText);
    }
    LastCheck = Millis();
}
