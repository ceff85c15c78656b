#include "mainwindow/event_loop.h"

#include "client/client_state.h"
#include "client/command_runner.h"
#include "client/roster.h"
#include "client/startup.h"
#include "dialogs/dialogs.h"
#include "mainwindow/identifiers.h"
#include "mainwindow/login.h"
#include "mainwindow/main_window.h"
#include "mainwindow/member_actions.h"
#include "mainwindow/network_actions.h"

bool QuitRequested = false;
int32_t LastCheck = 0;

namespace {

constexpr int PassPauseMs = 1;

// The clock wraps; differences are taken as signed 32-bit numbers.
int32_t MillisSince(int32_t then) {
    return static_cast<int32_t>(static_cast<uint32_t>(Millis()) - static_cast<uint32_t>(then));
}

Action RouteMenuItem(int item) {
    switch (item) {
        case ItemGoOnline:
            return Action::GoOnline;
        case ItemGoOffline:
            return Action::GoOffline;
        case ItemLeaveNetwork:
            return Action::LeaveNetwork;
        case ItemDeleteNetwork:
            return Action::DeleteNetwork;
        case ItemPing:
            return Action::Ping;
        case ItemBrowse:
            return Action::Browse;
        case ItemCopyAddress:
            return Action::CopyAddress;
        case ItemEvictUser:
            return Action::EvictUser;
        case ItemCreateNetwork:
            return Action::OpenCreateNetworkDialog;
        case ItemJoinNetwork:
            return Action::OpenJoinNetworkDialog;
        case ItemControlPc:
            return Action::ControlPc;
        case ItemGiveControl:
            return Action::GiveControl;
        case ItemExit:
            return Action::ConfirmExit;
        case ItemAbout:
            return Action::OpenAboutWindow;
    }
    return Action::None;
}

// Gadget numbers are unique across windows, so the number alone decides.
Action RouteGadget(int gadget, int subtype) {
    switch (gadget) {
        case GadgetLogin:
            return Action::ToggleLogin;
        case GadgetNetworks:
            return Action::NetworksMenu;
        case GadgetRoster:
            return subtype == RightClick ? Action::RosterMenu : Action::None;
        case GadgetSettings:
            return Action::OpenStatusWindow;
        case GadgetCreate:
            return Action::CreateNetwork;
        case GadgetJoin:
            return Action::JoinNetwork;
        case GadgetCreateCancel:
        case GadgetJoinCancel:
        case GadgetNicknameCancel:
            return Action::CloseDialog;
        case GadgetStatusTab:
            return Action::ShowStatusPage;
        case GadgetSystemTab:
            return Action::ShowSystemPage;
        case GadgetChangeNickname:
            return Action::OpenNicknameDialog;
        case GadgetBackupIdentity:
            return Action::BackupIdentity;
        case GadgetConfirmEvict:
        case GadgetKeepAlive:
        case GadgetTxRate:
        case GadgetRxRate:
            return Action::EnableUpdate;
        case GadgetUpdate:
            return Action::UpdateSettings;
        case GadgetNicknameChange:
            return Action::ChangeNickname;
    }
    return Action::None;
}

int CancelledWindow(int gadget) {
    switch (gadget) {
        case GadgetCreateCancel:
            return CreateNetworkWindow;
        case GadgetJoinCancel:
            return JoinNetworkWindow;
        case GadgetNicknameCancel:
            return NicknameWindow;
    }
    return 0;
}

bool IsDialogWindow(int window) {
    return window == CreateNetworkWindow || window == JoinNetworkWindow || window == StatusWindow ||
           window == NicknameWindow || window == AboutWindow;
}

}  // namespace

Action RouteEvent(const ProgramEvent& event) {
    switch (event.kind) {
        case EventCloseWindow:
            if (event.window == MainWindow) return Action::HideMainWindow;
            return IsDialogWindow(event.window) ? Action::CloseDialog : Action::None;
        case EventMenu:
            return RouteMenuItem(event.object);
        case EventTray:
            if (event.subtype == LeftClick) return Action::RestoreMainWindow;
            return event.subtype == RightClick ? Action::TrayMenu : Action::None;
        case EventGadget:
            return RouteGadget(event.object, event.subtype);
    }
    return Action::None;
}

void Dispatch(const ProgramEvent& event) {
    switch (RouteEvent(event)) {
        case Action::None:
            break;
        case Action::HideMainWindow:
            HideMainWindow();
            break;
        case Action::CloseDialog:
            CloseWindow(event.kind == EventCloseWindow ? event.window
                                                       : CancelledWindow(event.object));
            break;
        case Action::RestoreMainWindow:
            RestoreMainWindow();
            break;
        case Action::TrayMenu:
            ShowPopupMenu(MenuTray);
            break;
        case Action::GoOnline:
            GoOnline();
            break;
        case Action::GoOffline:
            GoOffline();
            break;
        case Action::LeaveNetwork:
            LeaveNetwork();
            break;
        case Action::DeleteNetwork:
            DeleteNetwork();
            break;
        case Action::Ping:
            PingMember();
            break;
        case Action::Browse:
            BrowseMember();
            break;
        case Action::CopyAddress:
            CopyMemberAddress();
            break;
        case Action::EvictUser:
            EvictMember();
            break;
        case Action::ControlPc:
            ControlMemberPc();
            break;
        case Action::GiveControl:
            GiveControlToMember();
            break;
        case Action::OpenCreateNetworkDialog:
            OpenCreateNetworkDialog();
            break;
        case Action::OpenJoinNetworkDialog:
            OpenJoinNetworkDialog();
            break;
        case Action::ConfirmExit:
            ConfirmExit();
            break;
        case Action::OpenAboutWindow:
            OpenAboutWindow();
            break;
        case Action::ToggleLogin:
            ToggleLogin();
            break;
        case Action::NetworksMenu:
            ShowPopupMenu(MenuNetworks);
            break;
        case Action::RosterMenu:
            OpenRosterMenu();
            break;
        case Action::OpenStatusWindow:
            OpenStatusWindow();
            break;
        case Action::CreateNetwork:
            CreateNetwork();
            break;
        case Action::JoinNetwork:
            JoinNetwork();
            break;
        case Action::ShowStatusPage:
            ShowStatusPage();
            break;
        case Action::ShowSystemPage:
            ShowSystemPage();
            break;
        case Action::OpenNicknameDialog:
            OpenNicknameDialog();
            break;
        case Action::BackupIdentity:
            BackupIdentity();
            break;
        case Action::EnableUpdate:
            EnableUpdate();
            break;
        case Action::UpdateSettings:
            UpdateSettings();
            break;
        case Action::ChangeNickname:
            ChangeNickname();
            break;
    }
}

void RunWatchdog() {
    const std::string probe = RunProbe();
    if (Contains(probe, "does not seem to be running") && !ClientStoppedByUser) {
        SetButtonImage(GadgetLogin, ImageLoggedOut);
        SetGadgetText(GadgetStatus, "Hamachi not running ..");
        DrainEvents();
        ShowClientState("off");
        if (AskYesNo("Hamachi Error",
                     "Hamachi is no longer running.  Do you want to\n"
                     "restart Hamachi?   (No quits client).")) {
            WaitForRunner();
            RunCommand("hamachi start");
        } else {
            QuitRequested = true;
        }
    }
    const bool loggedIn = Contains(probe, ": logged in");
    if (!loggedIn && ClientLoggedIn) {
        SetButtonImage(GadgetLogin, ImageLoggedOut);
        ShowClientState("off");
        ClientLoggedIn = false;
    }
    if (ClientLoggedIn) {
        RefreshRoster();
    } else if (loggedIn) {
        SetButtonImage(GadgetLogin, ImageLoggedIn);
        ShowClientState("on");
        RefreshRoster();
        ClientLoggedIn = true;
    } else {
        ClientStatusText = ProbeStatusText(probe);
        SetGadgetText(GadgetStatus, ClientStatusText);
    }
    LastCheck = Millis();
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
    }
    if (MillisSince(LastCheck) > WatchdogPeriodMs) RunWatchdog();
    if (got) {
        Pause(PassPauseMs);
    } else {
        // Idle: sleep until the window system has something or the watchdog
        // falls due, instead of waking every millisecond.
        WaitForActivity(WatchdogPeriodMs + 1 - MillisSince(LastCheck));
    }
}

void RunEventLoop() {
    while (!QuitRequested) LoopPass();
    CloseWindow(MainWindow);
    EndProgram();
}
