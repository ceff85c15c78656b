// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/startup.h"

#include <cstdio>

#include "app/event_loop.h"
#include "client/client_state.h"
#include "client/launcher.h"
#include "client/startup_checks.h"
#include "image_list.h"
#include "mainwindow/main_window.h"
#include "mainwindow/notices.h"
#include "mainwindow/roster_view.h"
#include "settings/options_file.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int StartWaitSteps = 60;
constexpr int StartWaitStepMs = 50;

// The windows keep painting while a command runs, and take no input.
class WindowsWhileBusy final : public BusyWindows {
  public:
    void Begin() override { BeginBusy(); }
    int Descriptor() override { return WindowSystemDescriptor(); }
    void Serve() override { ServeWhileBusy(); }
    void End() override { EndBusy(); }
};
WindowsWhileBusy BusyWindowsOfTheProgram;

// Asks a check's question and, on Yes, runs what follows it; tells a
// failure.  False when the program is to end.
bool Settle(Check check, Check (*onYes)() = nullptr) {
    if (check.result == Check::Ask) {
        if (!AskYesNo(check.title, check.text)) return false;
        check = onYes();
    }
    if (check.result == Check::Failed) {
        if (!check.text.empty()) MessageOk(check.title, check.text);
        return false;
    }
    return true;
}

// Starts the client and gives it about three seconds to come up while the
// window stays drawn; false (after saying so) when it does not.
bool StartClient() {
    StartClientCommand();
    ShowStatusLine("Hamachi starting ..");
    for (int step = 0; step < StartWaitSteps; ++step) {
        DrainEvents();
        Pause(StartWaitStepMs);
    }
    const Check started = ProbeStartedClient();
    if (started.result == Check::Passed) return true;
    ShowStatusLine("Could not start Hamachi");
    return Settle(started);
}

// The exit status of a command line that names no directory after -c.
int RefuseArguments() {
    std::fprintf(stderr, "corvane: -c needs a directory\n%s", Usage);
    return 2;
}

}  // namespace

bool StartUp(const Arguments& arguments) {
    Client.ConfigDirOption = arguments.configDir;
    RegisterImages();
    Runner.CommandBusy = false;
    CreatePopupMenus();
    Client.CurrentUser = GetEnv("USER");
    if (!Settle(CheckTuncfg(), LoadTuncfgWithSudo) || !Settle(CheckClientPresent()) ||
        !Settle(CheckClientConfigured(), CreateConfiguration)) {
        return false;
    }
    TakeClientFlags();
    if (!OpenMainWindow(arguments.hidden)) return false;
    // From now on the runner's wait lets the window system in once, and a
    // command lets the windows repaint.
    Runner.BeforeCommand = DropOneEvent;
    Runner.Busy = &BusyWindowsOfTheProgram;
    Runner.CommandCutShort = NoticeCommandCutShort;
    AddTrayIcon(MainWindow, ImageTray, "Corvane", MenuTray);
    if (!Client.Running) {
        ShowLoginButton(false);
        ShowClientState("off");
        if (!StartClient()) return false;
    }
    if (!Client.LoggedIn) {
        ShowStatusLine("offline");
        ShowLoginButton(false);
        ShowClientState("off");
    } else {
        ShowLoginButton(true);
        ShowClientState("on");
    }
    RefreshClientState();
    UpdateRoster();
    LoadOptions(Client.ConfigDir);
    Loop = {};
    Loop.LastCheck = Millis();
    return true;
}

void EndProgram() {
    // The windows are going: commands no longer reach them.
    Runner.BeforeCommand = nullptr;
    Runner.Busy = nullptr;
    Runner.CommandCutShort = nullptr;
    RemoveTrayIcon();
    CloseAllWindows();
    FreeMenus();
    FreeImages();
}

int RunCorvane(int argc, char** argv) {
    // Answered before the toolkit starts, so they need no display.
    const Arguments early = ReadArguments(argc, argv);
    if (early.request == Arguments::Help) std::fputs(Usage, stdout);
    if (early.request == Arguments::Version) std::fputs("corvane " CORVANE_VERSION "\n", stdout);
    if (early.request == Arguments::Refused) return RefuseArguments();
    if (early.request != Arguments::Run) return 0;
    if (!InitToolkit(&argc, &argv)) {
        std::fprintf(stderr, "corvane: cannot open the display\n");
        return 1;
    }
    // GTK has taken out its own options: "-c" may stand first only now.
    const Arguments arguments = ReadArguments(argc, argv);
    if (arguments.request == Arguments::Refused) return RefuseArguments();
    if (StartUp(arguments)) RunEventLoop();
    // Every way out of a started program goes through here, with status 0.
    EndProgram();
    return 0;
}
