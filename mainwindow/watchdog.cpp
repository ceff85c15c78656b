// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/watchdog.h"

#include "client/client_state.h"
#include "client/startup_checks.h"
#include "client/watch.h"
#include "mainwindow/main_window.h"
#include "mainwindow/notices.h"
#include "mainwindow/roster_view.h"
#include "toolkit/toolkit.h"

bool RunWatchdog() {
    // A probe that could not even start says nothing about the client.
    if (!RunProbe()) return true;
    const ProbeVerdict verdict =
        JudgeProbe(Client.LatestOutput, Client.LoggedIn, Client.StoppedByUser);
    bool keepRunning = true;
    if (verdict.clientGone) {
        NoticeClientGone();
        ShowLoginButton(false);
        ShowStatusLine("Hamachi not running ..");
        DrainEvents();
        ShowClientState("off");
        if (AskYesNo("Hamachi Error",
                     "Hamachi is no longer running.  Do you want to\n"
                     "restart Hamachi?   (No quits client).")) {
            StartClientCommand();
        } else {
            keepRunning = false;
        }
    }
    if (verdict.loggedOut) {
        ShowLoginButton(false);
        ShowClientState("off");
        Client.LoggedIn = false;
    }
    if (verdict.refresh) {
        UpdateRoster();
    } else if (verdict.loggedIn) {
        ShowLoginButton(true);
        ShowClientState("on");
        UpdateRoster();
        Client.LoggedIn = true;
    } else if (verdict.status) {
        Client.StatusText = *verdict.status;
        ShowStatusLine(Client.StatusText);
    }
    return keepRunning;
}
