// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow/login.h"

#include "client/client_state.h"
#include "client/command_runner.h"
#include "client/roster.h"
#include "common/identifiers.h"
#include "common/text.h"
#include "mainwindow/main_window.h"
#include "toolkit/toolkit.h"

bool QuitRequested = false;
bool EndRequested = false;
bool ClientStoppedByUser = false;

namespace {

void LogOut() {
    WaitForRunner();
    const std::string answer = RunCommand("hamachi logout");
    if (Contains(answer, ".. ok")) {
        ClientLoggedIn = false;
        ShowLoginButton(false);
        ShowClientState("off");
    } else {
        SetGadgetText(GadgetStatus, "Could not logout ..");
    }
}

void LogIn() {
    SetGadgetText(GadgetStatus, "Logging into Hamachi ...");
    DrainEvents();  // so the text is drawn before the command blocks the window
    WaitForRunner();
    const std::string answer = RunCommand("hamachi login");
    if (Contains(answer, "ok") || Contains(answer, "logged in")) {
        ClientLoggedIn = true;
        SetGadgetText(GadgetStatus, ClientNickname);
        ShowLoginButton(true);
        ShowClientState("on");
        RefreshRoster();
    } else {
        SetGadgetText(GadgetStatus, "Could not log into Hamachi ..");
    }
}

void StopClient() {
    WaitForRunner();
    RunCommand("hamachi stop");
}

}  // namespace

void ToggleLogin() {
    if (ClientLoggedIn) {
        LogOut();
    } else {
        LogIn();
    }
}

void ConfirmExit() {
    if (ClientLoggedIn) {
        // Only No stops the client; closing the box leaves it running.
        if (AskQuestion("Hamachi", "Do you want to leave Hamachi logged in and running?") ==
            BoxAnswer::No) {
            StopClient();
            ClientStoppedByUser = true;
        }
        QuitRequested = true;
        return;
    }
    if (AskYesNo("Hamachi", "You are not logged in, do you want to stop Hamachi?")) {
        StopClient();
        EndRequested = true;
        return;
    }
    QuitRequested = true;
}
