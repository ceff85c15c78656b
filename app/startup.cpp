#include "app/startup.h"

#include <cstdio>

#include "app/event_loop.h"
#include "client/client_state.h"
#include "client/command_runner.h"
#include "client/roster.h"
#include "client/startup_checks.h"
#include "common/identifiers.h"
#include "mainwindow/login.h"
#include "mainwindow/main_window.h"
#include "mainwindow/watchdog.h"
#include "settings/options_file.h"
#include "toolkit/toolkit.h"

bool StartUp(int argc, char** argv) {
    ParseArguments(argc, argv);
    RegisterImages();
    CommandBusy = false;
    CreatePopupMenus();
    if (!CheckClient() || !OpenMainWindow()) return false;
    AddTrayIcon(MainWindow, ImageTray, "Corvane");
    if (!ClientRunning) {
        ShowLoginButton(false);
        ShowClientState("off");
        if (!StartClient()) return false;
    }
    if (!ClientLoggedIn) {
        SetGadgetText(GadgetStatus, "offline");
        ShowLoginButton(false);
        ShowClientState("off");
    } else {
        ShowLoginButton(true);
        ShowClientState("on");
    }
    ReadClientState();
    RefreshRoster();
    LoadOptions(ClientConfigDir);
    QuitRequested = false;
    LastCheck = Millis();
    return true;
}

void EndProgram() {
    RemoveTrayIcon();
    CloseAllWindows();
    FreeMenus();
    FreeImages();
}

int RunCorvane(int argc, char** argv) {
    if (!InitToolkit(&argc, &argv)) {
        std::fprintf(stderr, "corvane: cannot open the display\n");
        return 1;
    }
    if (StartUp(argc, argv)) RunEventLoop();
    // Every way out of a started program goes through here, with status 0.
    EndProgram();
    return 0;
}
