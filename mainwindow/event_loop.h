// The event loop: one program event per pass, and the watchdog that follows
// the client every five seconds.
#pragma once

#include "toolkit/toolkit.h"

extern bool QuitRequested;
extern int32_t LastCheck;  // the millisecond clock at the end of the last watchdog pass

constexpr int WatchdogPeriodMs = 5000;

// Runs passes until QuitRequested, then closes window 1 and ends the program.
[[noreturn]] void RunEventLoop();
// One pass: poll, dispatch, watchdog when due, then pause (or, with nothing to
// do, wait for the window system or the watchdog).
void LoopPass();

// What an event leads to.
enum class Action {
    None,
    HideMainWindow,
    CloseDialog,
    RestoreMainWindow,
    TrayMenu,
    GoOnline,
    GoOffline,
    LeaveNetwork,
    DeleteNetwork,
    Ping,
    Browse,
    CopyAddress,
    EvictUser,
    ControlPc,
    GiveControl,
    OpenCreateNetworkDialog,
    OpenJoinNetworkDialog,
    ConfirmExit,
    OpenAboutWindow,
    ToggleLogin,
    NetworksMenu,
    RosterMenu,
    OpenStatusWindow,
    CreateNetwork,
    JoinNetwork,
    ShowStatusPage,
    ShowSystemPage,
    OpenNicknameDialog,
    BackupIdentity,
    EnableUpdate,
    UpdateSettings,
    ChangeNickname,
};
Action RouteEvent(const ProgramEvent& event);
void Dispatch(const ProgramEvent& event);

// Probes the client and brings the window in step with it.
void RunWatchdog();
