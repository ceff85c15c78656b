// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/startup_checks.h"

#include "client/client_state.h"
#include "client/command_runner.h"
#include "common/identifiers.h"
#include "common/text.h"
#include "toolkit/toolkit.h"

std::string CurrentUser;
const char* const ClientDownloadAddress = CORVANE_CLIENT_DOWNLOAD_ADDRESS;

namespace {

constexpr const char* TuncfgCheck = "ps -A |grep tuncfg";
constexpr int StartWaitSteps = 60;
constexpr int StartWaitStepMs = 50;

// The TUN/TAP configuration program must be running.
bool CheckTuncfg() {
    if (!RunCommand(TuncfgCheck).empty()) return true;
    if (CurrentUser == "root") {
        LaunchProgram("tuncfg", "", "", false);
    } else {
        if (!AskYesNo("Hamachi",
                      "Hamachi needs a TAP/TUN device driver to operate.\n\n"
                      "Do you want to try load 'tuncfg' with 'sudo'?")) {
            return false;
        }
        LaunchProgram("xterm", "-T sudo_tuncfg -geometry 40x5 -e sudo tuncfg", "", true);
        Pause(1000);
    }
    Pause(1500);
    WaitForRunner();
    if (!RunCommand(TuncfgCheck).empty()) return true;
    MessageOk("Error", "TAP/TUN not found.");
    return false;
}

// The client program must answer.  The shell reports a missing program on
// its standard error, which the probe never sees, so it is also looked up
// on PATH.
bool CheckClientPresent() {
    RunProbe();
    Pause(100);
    if (!Contains(LatestClientOutput, "command not found") && ProgramRunnable("hamachi")) {
        return true;
    }
    MessageOk("Hamachi Error", std::string("Hamachi is not loaded or not in the path...\n\n") +
                                   "Download Hamachi at: " + ClientDownloadAddress);
    return false;
}

// The client must have a configuration, which it can be asked to make.
bool CheckClientConfigured() {
    constexpr const char* missing = "Cannot find configuration directory";
    if (!Contains(LatestClientOutput, missing)) return true;
    std::string question;
    if (CurrentUser != "root") {
        question =
            "Cannot find the hamachi configuration directory.  Either Hamachi was\n"
            "started as the root user or this is a new Hamachi connection.\n\n";
    }
    question += "Do you want to create a new Hamachi configuration?";
    if (!AskYesNo("Hamachi", question)) return false;
    WaitForRunner();
    RunCommand("hamachi-init");
    RunProbe();
    Pause(100);
    if (!Contains(LatestClientOutput, missing)) return true;
    MessageOk("Error", "Could not initialize a new Hamachi configuration.");
    return false;
}

}  // namespace

bool CheckClient() {
    CurrentUser = GetEnv("USER");
    if (!CheckTuncfg() || !CheckClientPresent() || !CheckClientConfigured()) return false;
    ClientRunning = !Contains(LatestClientOutput, "does not seem to be running");
    ClientLoggedIn = Contains(LatestClientOutput, ": logged in");
    return true;
}

bool StartClient() {
    WaitForRunner();
    RunCommand("hamachi start");
    SetGadgetText(GadgetStatus, "Hamachi starting ..");
    for (int step = 0; step < StartWaitSteps; ++step) {
        DrainEvents();
        Pause(StartWaitStepMs);
    }
    const std::string probe = RunProbe();
    if (!Contains(probe, "pid")) {
        SetGadgetText(GadgetStatus, "Could not start Hamachi");
        MessageOk("Hamachi Error", "Hamachi could not be started...\n");
        return false;
    }
    if (Contains(probe, "offline")) {
        ClientLoggedIn = false;
    } else if (Contains(probe, "logged in")) {
        ClientLoggedIn = true;
    }
    return true;
}
