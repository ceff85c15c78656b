// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/event_loop.h"

#include "common/identifiers.h"
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
#include "mainwindow/watchdog.h"

namespace {

constexpr int PassPauseMs = 1;

void DispatchMenuItem(int item) {
    switch (item) {
        case ItemGoOnline:
            GoOnline();
            break;
        case ItemGoOffline:
            GoOffline();
            break;
        case ItemLeaveNetwork:
            LeaveNetwork();
            break;
        case ItemDeleteNetwork:
            DeleteNetwork();
            break;
        case ItemPing:
            PingMember();
            break;
        case ItemBrowse:
            BrowseMember();
            break;
        case ItemCopyAddress:
            CopyMemberAddress();
            break;
        case ItemEvictUser:
            EvictMember();
            break;
        case ItemControlPc:
            ControlMemberPc();
            break;
        case ItemGiveControl:
            GiveControlToMember();
            break;
        case ItemExit:
            ConfirmExit();
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
            OpenStatusWindow();
            break;
        case GadgetCreate:
            CreateNetwork();
            break;
        case GadgetCreateCancel:
            CloseWindow(CreateNetworkWindow);
            break;
        case GadgetJoin:
            JoinNetwork();
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
            OpenNicknameDialog();
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
            ChangeNickname();
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
        if (EndRequested) return;
    }
    if (MillisUntilWatchdog() <= 0) RunWatchdog();
    if (got) {
        Pause(PassPauseMs);
    } else {
        // Idle: sleep until the window system has something or the watchdog
        // falls due, instead of waking every millisecond.
        WaitForActivity(MillisUntilWatchdog());
    }
}

void RunEventLoop() {
    while (!QuitRequested && !EndRequested) LoopPass();
}
