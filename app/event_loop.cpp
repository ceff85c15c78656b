// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/event_loop.h"

#include "client/client_state.h"
#include "client/runner.h"
#include "dialogs/about.h"
#include "dialogs/create_network.h"
#include "dialogs/identity_backup.h"
#include "dialogs/join_network.h"
#include "dialogs/nickname.h"
#include "dialogs/status_window.h"
#include "mainwindow/login.h"
#include "mainwindow/main_window.h"
#include "mainwindow/member_actions.h"
#include "mainwindow/network_actions.h"
#include "mainwindow/roster_view.h"
#include "mainwindow/watchdog.h"

LoopState Loop;

namespace {

constexpr int PassPauseMs = 1;

void Exit() {
    if (ConfirmExit() == ExitChoice::AtOnce) {
        Loop.EndRequested = true;
    } else {
        Loop.QuitRequested = true;
    }
}

void DispatchMenuItem(int item) {
    switch (item) {
        case ItemGoOnline:
            GoOnline();
            break;
        case ItemGoOffline:
            GoOffline();
            break;
        case ItemLeaveNetwork:
            LeaveSelectedNetwork();
            break;
        case ItemDeleteNetwork:
            DeleteSelectedNetwork();
            break;
        case ItemPing:
            PingSelectedMember();
            break;
        case ItemBrowse:
            BrowseSelectedMember();
            break;
        case ItemCopyAddress:
            CopyMemberAddress();
            break;
        case ItemEvictUser:
            EvictSelectedMember();
            break;
        case ItemControlPc:
            ControlSelectedMember();
            break;
        case ItemGiveControl:
            GiveControlToSelectedMember();
            break;
        case ItemExit:
            Exit();
            break;
        case ItemCreateNetwork:
            OpenCreateNetworkDialog();
            break;
        case ItemJoinNetwork:
            OpenJoinNetworkDialog();
            break;
        case ItemAbout:
            OpenAboutWindow();
            break;
    }
}

// A new nickname shows in the main window and in the status window.
void ChangeNicknameEverywhere() {
    if (!ChangeNickname()) return;
    ShowStatusNickname(Client.Nickname);
    ShowStatusLine(Client.Nickname);
}

// Gadget numbers are unique across windows, so the number alone decides.
void DispatchGadget(int gadget, int subtype) {
    switch (gadget) {
        case GadgetLogin:
            ToggleLogin();
            break;
        case GadgetNetworks:
            ShowPopupMenu(MenuNetworks);
            break;
        case GadgetRoster:
            if (subtype == RightClick) OpenRosterMenu();
            break;
        case GadgetSettings:
            OpenStatusWindow(MainWindow);
            break;
        case GadgetCreate:
            if (CreateNetwork()) UpdateRoster();
            break;
        case GadgetCreateCancel:
            CloseWindow(CreateNetworkWindow);
            break;
        case GadgetJoin:
            if (JoinNetwork()) UpdateRoster();
            break;
        case GadgetJoinCancel:
            CloseWindow(JoinNetworkWindow);
            break;
        case GadgetStatusTab:
            ShowStatusPage();
            break;
        case GadgetSystemTab:
            ShowSystemPage();
            break;
        case GadgetChangeNickname:
            OpenNicknameDialog(MainWindowShown.StatusLine);
            break;
        case GadgetBackupIdentity:
            BackupIdentity();
            break;
        case GadgetConfirmEvict:
        case GadgetKeepAlive:
        case GadgetTxRate:
        case GadgetRxRate:
            EnableUpdate();
            break;
        case GadgetUpdate:
            UpdateSettings();
            break;
        case GadgetNicknameChange:
            ChangeNicknameEverywhere();
            break;
        case GadgetNicknameCancel:
            CloseWindow(NicknameWindow);
            break;
    }
}

bool IsDialogWindow(int window) {
    return window == CreateNetworkWindow || window == JoinNetworkWindow || window == StatusWindow ||
           window == NicknameWindow || window == AboutWindow;
}

}  // namespace

int32_t MillisUntilWatchdog(int32_t now, int32_t lastCheck) {
    const auto since =
        static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(lastCheck));
    return WatchdogPeriodMs + 1 - since;
}

void Dispatch(const ProgramEvent& event) {
    switch (event.kind) {
        case EventCloseWindow:
            if (event.window == MainWindow) {
                HideMainWindow();
            } else if (IsDialogWindow(event.window)) {
                CloseWindow(event.window);
            }
            break;
        case EventMenu:
            DispatchMenuItem(event.object);
            break;
        case EventTray:
            if (event.subtype == LeftClick) RestoreMainWindow();
            if (event.subtype == RightClick) ShowPopupMenu(MenuTray);
            break;
        case EventGadget:
            DispatchGadget(event.object, event.subtype);
            break;
    }
}

void LoopPass() {
    ProgramEvent event;
    const bool got = PollEvent(&event);
    if (got) {
        if (event.kind == EventSizeChanged && event.window == MainWindow) {
            RelayoutMainWindow();
            DrainEvents();
        }
        Dispatch(event);
        if (Loop.EndRequested) return;
    }
    if (MillisUntilWatchdog(Millis(), Loop.LastCheck) <= 0) {
        if (!RunWatchdog()) Loop.QuitRequested = true;
        Loop.LastCheck = Millis();
    }
    if (got) {
        Pause(PassPauseMs);
    } else {
        // Idle: sleep until the window system has something or the watchdog
        // falls due, instead of waking every millisecond.
        WaitForActivity(MillisUntilWatchdog(Millis(), Loop.LastCheck));
    }
}

void RunEventLoop() {
    while (!Loop.QuitRequested && !Loop.EndRequested) LoopPass();
}
