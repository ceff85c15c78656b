// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/startup_checks.h"

#include "client/client_state.h"
#include "client/launcher.h"
#include "client/runner.h"
#include "common/text.h"

const char* const ClientDownloadAddress = CORVANE_CLIENT_DOWNLOAD_ADDRESS;

namespace {

constexpr const char* TuncfgCheck = "ps -A |grep tuncfg";
constexpr const char* Missing = "Cannot find configuration directory";

Check Fail(const char* title, std::string text) {
    return {Check::Failed, title, std::move(text)};
}

bool TuncfgRuns(const CommandOutput& answer) {
    return !answer.text.empty();
}

// The second look, once tuncfg has had its time.
Check LookForTuncfgAgain() {
    Pause(1500);
    if (TuncfgRuns(RunCommand(TuncfgCheck))) return {};
    return Fail("Error", "TAP/TUN not found.");
}

}  // namespace

Check CheckTuncfg() {
    if (TuncfgRuns(RunCommandAtOnce(TuncfgCheck))) return {};
    if (Client.CurrentUser == "root") {
        LaunchProgram("tuncfg", "", "", false);
        return LookForTuncfgAgain();
    }
    return {Check::Ask, "Hamachi",
            "Hamachi needs a TAP/TUN device driver to operate.\n\n"
            "Do you want to try load 'tuncfg' with 'sudo'?"};
}

Check LoadTuncfgWithSudo() {
    LaunchProgram("xterm", "-T sudo_tuncfg -geometry 40x5 -e sudo tuncfg", "", true);
    Pause(1000);
    return LookForTuncfgAgain();
}

// The shell reports a missing program on its standard error, which the
// probe never sees, so it is also looked up on PATH.
Check CheckClientPresent() {
    const bool ran = RunProbe();
    Pause(100);
    if (ran && !Contains(Client.LatestOutput, "command not found") && ProgramRunnable("hamachi")) {
        return {};
    }
    return Fail("Hamachi Error", std::string("Hamachi is not loaded or not in the path...\n\n") +
                                     "Download Hamachi at: " + ClientDownloadAddress);
}

Check CheckClientConfigured() {
    if (!Contains(Client.LatestOutput, Missing)) return {};
    std::string question;
    if (Client.CurrentUser != "root") {
        question =
            "Cannot find the hamachi configuration directory.  Either Hamachi was\n"
            "started as the root user or this is a new Hamachi connection.\n\n";
    }
    question += "Do you want to create a new Hamachi configuration?";
    return {Check::Ask, "Hamachi", question};
}

Check CreateConfiguration() {
    RunCommand("hamachi-init");
    RunProbe();
    Pause(100);
    if (!Contains(Client.LatestOutput, Missing)) return {};
    return Fail("Error", "Could not initialize a new Hamachi configuration.");
}

void TakeClientFlags() {
    Client.Running = !Contains(Client.LatestOutput, "does not seem to be running");
    Client.LoggedIn = Contains(Client.LatestOutput, ": logged in");
}

void StartClientCommand() {
    RunCommand("hamachi start");
}

Check ProbeStartedClient() {
    RunProbe();
    const std::string& probe = Client.LatestOutput;
    if (!Contains(probe, "pid")) return Fail("Hamachi Error", "Hamachi could not be started...\n");
    if (Contains(probe, "offline")) {
        Client.LoggedIn = false;
    } else if (Contains(probe, "logged in")) {
        Client.LoggedIn = true;
    }
    return {};
}
