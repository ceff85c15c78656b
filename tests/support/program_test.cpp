// SPDX-License-Identifier: GPL-2.0-or-later
#include "program_test.h"

#include <chrono>

#include "app/startup.h"
#include "client/client_state.h"
#include "client/command_runner.h"
#include "client/roster.h"
#include "client/startup_checks.h"
#include "common/identifiers.h"
#include "mainwindow/login.h"
#include "mainwindow/main_window.h"
#include "mainwindow/watchdog.h"
#include "settings/options_file.h"

namespace {

// Every global the program keeps, as at a fresh start.
void ResetProgramState() {
    ClientConfigDir.clear();
    ClientIdentity.clear();
    ClientNickname.clear();
    ClientVersion.clear();
    ClientStatusText.clear();
    ClientRunning = false;
    ClientLoggedIn = false;
    LatestClientOutput.clear();
    ConfigDirOption.clear();
    CurrentUser.clear();
    CommandBusy = false;
    LastListOutput.clear();
    QuitRequested = false;
    EndRequested = false;
    LastCheck = 0;
    ClientStoppedByUser = false;
    ConfirmEvict = 1;
    VNCViewer = "vncviewer";
    VNCViewerParms.clear();
    GiveControlApp = "x11vnc";
    GiveControlParms = "-connect";
}

}  // namespace

void ProgramTest::SetUp() {
    setenv("USER", "tester", 1);
    int argc = 1;
    char name[] = "corvane";
    char* args[] = {name, nullptr};
    char** argv = args;
    ASSERT_TRUE(InitToolkit(&argc, &argv)) << "no X display";
    ResetProgramState();
    time.Install();
    ScriptBoxes({});
    DropQueuedEvents();
    RegisterImages();
    CreatePopupMenus();
}

void ProgramTest::TearDown() {
    HidePopupMenus();
    EndProgram();
    DropQueuedEvents();
    StopScriptingBoxes();
    time.Uninstall();
    ResetProgramState();
}

void ProgramTest::RunningClient(bool loggedIn) {
    scenario.Configure(Identity, Nickname);
    scenario.SetRunning(true);
    scenario.SetLoggedIn(loggedIn);
}

void ProgramTest::ClientWithOneNetwork() {
    RunningClient(true);
    scenario.AddNetwork("alpha", true, true);
    scenario.AddMember("5.1.2.3", "bob", StandinMark::Online);
}

void ProgramTest::OpenMain() {
    ConfigDirOption = scenario.ConfigDir();
    ClientConfigDir = ConfigDirOption;
    ASSERT_TRUE(OpenMainWindow());
}

void ProgramTest::OpenMainLoggedIn() {
    OpenMain();
    ClientLoggedIn = true;
    ShowClientState("on");
    RefreshRoster();
    LastCheck = Millis();
    scenario.ClearLog();
}

bool ProgramTest::PumpUntil(const std::function<bool()>& done, int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        HandlePendingWindowEvents();
        struct timespec step {
            0, 5000000
        };
        nanosleep(&step, nullptr);
    }
    return true;
}

std::vector<std::string> ProgramTest::Boxes() const {
    std::vector<std::string> shown;
    for (const BoxRecord& box : ScriptedBoxLog()) shown.push_back(box.title + "|" + box.text);
    return shown;
}
