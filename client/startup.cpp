#include "client/startup.h"

#include <cstdio>
#include <cstdlib>

#include "client/client_state.h"
#include "client/command_runner.h"
#include "client/roster.h"
#include "mainwindow/event_loop.h"
#include "mainwindow/identifiers.h"
#include "mainwindow/main_window.h"
#include "settings/options_file.h"
#include "toolkit/toolkit.h"

std::string CurrentUser;
const char* const ClientDownloadAddress = CORVANE_CLIENT_DOWNLOAD_ADDRESS;
void (*TerminateProcess)(int status) = std::exit;

namespace {

constexpr const char* TuncfgCheck = "ps -A |grep tuncfg";
constexpr int StartWaitSteps = 60;
constexpr int StartWaitStepMs = 50;

// The TUN/TAP configuration program must be running.
void EnsureTuncfg() {
    if (!RunCommand(TuncfgCheck).empty()) return;
    if (CurrentUser == "root") {
        LaunchProgram("tuncfg", "", "", false);
    } else {
        if (!AskYesNo("Hamachi",
                      "Hamachi needs a TAP/TUN device driver to operate.\n\n"
                      "Do you want to try load 'tuncfg' with 'sudo'?")) {
            EndProgram();
        }
        LaunchProgram("xterm", "-T sudo_tuncfg -geometry 40x5 -e sudo tuncfg", "", true);
        Pause(1000);
    }
    Pause(1500);
    WaitForRunner();
    if (RunCommand(TuncfgCheck).empty()) {
        MessageOk("Error", "TAP/TUN not found.");
        EndProgram();
    }
}

// The client program must answer.  The shell reports a missing
// program on its standard error, which the probe never sees, so the program
// is also looked up on PATH.
void EnsureClientPresent() {
    RunProbe();
    Pause(100);
    if (Contains(LatestClientOutput, "command not found") || !ProgramRunnable("hamachi")) {
        MessageOk("Hamachi Error", std::string("Hamachi is not loaded or not in the path...\n\n") +
                                       "Download Hamachi at: " + ClientDownloadAddress);
        EndProgram();
    }
}

// The client must have a configuration, which it can be asked to make.
void EnsureClientConfigured() {
    if (!Contains(LatestClientOutput, "Cannot find configuration directory")) return;
    std::string question;
    if (CurrentUser != "root") {
        question =
            "Cannot find the hamachi configuration directory.  Either Hamachi was\n"
            "started as the root user or this is a new Hamachi connection.\n\n";
    }
    question += "Do you want to create a new Hamachi configuration?";
    if (!AskYesNo("Hamachi", question)) EndProgram();
    WaitForRunner();
    RunCommand("hamachi-init");
    RunProbe();
    Pause(100);
    if (Contains(LatestClientOutput, "Cannot find configuration directory")) {
        MessageOk("Error", "Could not initialize a new Hamachi configuration.");
        EndProgram();
    }
}

}  // namespace

void StartClient() {
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
        EndProgram();
    }
    if (Contains(probe, "offline")) {
        ClientLoggedIn = false;
    } else if (Contains(probe, "logged in")) {
        ClientLoggedIn = true;
    }
}

bool StartUp(int argc, char** argv) {
    if (!InitToolkit(&argc, &argv)) return false;
    ParseArguments(argc, argv);
    RegisterImages();
    CommandBusy = false;
    CreatePopupMenus();
    CurrentUser = GetEnv("USER");
    EnsureTuncfg();
    EnsureClientPresent();
    EnsureClientConfigured();
    ClientRunning = !Contains(LatestClientOutput, "does not seem to be running");
    ClientLoggedIn = Contains(LatestClientOutput, ": logged in");
    if (!OpenMainWindow()) EndProgram();
    AddTrayIcon(MainWindow, ImageTray, "Corvane");
    if (!ClientRunning) {
        SetButtonImage(GadgetLogin, ImageLoggedOut);
        ShowClientState("off");
        StartClient();
    }
    if (!ClientLoggedIn) {
        SetGadgetText(GadgetStatus, "offline");
        SetButtonImage(GadgetLogin, ImageLoggedOut);
        ShowClientState("off");
    } else {
        SetButtonImage(GadgetLogin, ImageLoggedIn);
        ShowClientState("on");
    }
    ReadClientState();
    RefreshRoster();
    LoadOptions();
    QuitRequested = false;
    LastCheck = Millis();
    return true;
}

int RunCorvane(int argc, char** argv) {
    if (!StartUp(argc, argv)) {
        std::fprintf(stderr, "corvane: cannot open the display\n");
        return 1;
    }
    RunEventLoop();
    return 0;
}

void EndProgram() {
    RemoveTrayIcon();
    CloseAllWindows();
    FreeMenus();
    FreeImages();
    TerminateProcess(0);
    std::abort();  // a replaced TerminateProcess must not return
}
