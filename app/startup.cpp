// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/startup.h"

#include <cstdio>
#include <cstring>

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

namespace {

constexpr const char* Usage =
    "usage: corvane [-c DIR]\n"
    "A desktop front-end to the hamachi VPN client, in the notification area.\n"
    "\n"
    "  -c DIR     the client's configuration directory (default: ~/.hamachi/)\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n"
    "\n"
    "GTK's own options, such as --display, are accepted as well.\n";

// The answer to --help or --version, or null.  They count anywhere but as
// the directory that follows a leading -c.
const char* InformationAsked(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (i == 2 && std::strcmp(argv[1], "-c") == 0) continue;
        if (std::strcmp(argv[i], "--help") == 0) return Usage;
        if (std::strcmp(argv[i], "--version") == 0) return "corvane " CORVANE_VERSION "\n";
    }
    return nullptr;
}

}  // namespace

bool StartUp(int argc, char** argv) {
    ParseArguments(argc, argv);
    RegisterImages();
    CommandBusy = false;
    CreatePopupMenus();
    if (!CheckClient() || !OpenMainWindow()) return false;
    AddTrayIcon(MainWindow, ImageTray, "Corvane", MenuTray);
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
    if (const char* answer = InformationAsked(argc, argv)) {
        std::fputs(answer, stdout);
        return 0;
    }
    if (!InitToolkit(&argc, &argv)) {
        std::fprintf(stderr, "corvane: cannot open the display\n");
        return 1;
    }
    if (StartUp(argc, argv)) RunEventLoop();
    // Every way out of a started program goes through here, with status 0.
    EndProgram();
    return 0;
}
