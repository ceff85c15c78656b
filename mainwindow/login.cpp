// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/login.h"

#include "client/client_state.h"
#include "client/session.h"
#include "mainwindow/main_window.h"
#include "mainwindow/roster_view.h"
#include "toolkit/toolkit.h"

namespace {

void LogOutNow() {
    if (LogOut()) {
        ShowLoginButton(false);
        ShowClientState("off");
    } else {
        ShowStatusLine("Could not logout ..");
    }
}

void LogInNow() {
    ShowStatusLine("Logging into Hamachi ...");
    DrainEvents();  // so the text is drawn before the command blocks the window
    if (LogIn()) {
        ShowStatusLine(Client.Nickname);
        ShowLoginButton(true);
        ShowClientState("on");
        UpdateRoster();
    } else {
        ShowStatusLine("Could not log into Hamachi ..");
    }
}

}  // namespace

void ToggleLogin() {
    if (Client.LoggedIn) {
        LogOutNow();
    } else {
        LogInNow();
    }
}

ExitChoice ConfirmExit() {
    if (Client.LoggedIn) {
        // Only No stops the client; closing the box leaves it running.
        if (AskQuestion("Hamachi", "Do you want to leave Hamachi logged in and running?") ==
            BoxAnswer::No) {
            StopClient();
            Client.StoppedByUser = true;
        }
        return ExitChoice::AfterThisPass;
    }
    if (AskYesNo("Hamachi", "You are not logged in, do you want to stop Hamachi?")) {
        StopClient();
        return ExitChoice::AtOnce;
    }
    return ExitChoice::AfterThisPass;
}
