#include "mainwindow/event_loop.h"
#include "client/client_state.h"
#include "client/roster.h"
#include "mainwindow/identifiers.h"
#include "mainwindow/login.h"
#include "program_test.h"

namespace {

struct RouteCase {
    ProgramEvent event;
    Action action;
};

TEST(RouteEventTest, EveryEventReachesItsHandler) {
    const RouteCase cases[] = {
        {{EventCloseWindow, 0, MainWindow, 0}, Action::HideMainWindow},
        {{EventCloseWindow, 0, CreateNetworkWindow, 0}, Action::CloseDialog},
        {{EventCloseWindow, 0, JoinNetworkWindow, 0}, Action::CloseDialog},
        {{EventCloseWindow, 0, StatusWindow, 0}, Action::CloseDialog},
        {{EventCloseWindow, 0, NicknameWindow, 0}, Action::CloseDialog},
        {{EventCloseWindow, 0, AboutWindow, 0}, Action::CloseDialog},
        {{EventCloseWindow, 0, 2, 0}, Action::None},
        {{EventMenu, ItemGoOnline, 0, 0}, Action::GoOnline},
        {{EventMenu, ItemGoOffline, 0, 0}, Action::GoOffline},
        {{EventMenu, ItemLeaveNetwork, 0, 0}, Action::LeaveNetwork},
        {{EventMenu, ItemDeleteNetwork, 0, 0}, Action::DeleteNetwork},
        {{EventMenu, ItemPing, 0, 0}, Action::Ping},
        {{EventMenu, ItemBrowse, 0, 0}, Action::Browse},
        {{EventMenu, ItemCopyAddress, 0, 0}, Action::CopyAddress},
        {{EventMenu, ItemEvictUser, 0, 0}, Action::EvictUser},
        {{EventMenu, ItemCreateNetwork, 0, 0}, Action::OpenCreateNetworkDialog},
        {{EventMenu, ItemJoinNetwork, 0, 0}, Action::OpenJoinNetworkDialog},
        {{EventMenu, ItemControlPc, 0, 0}, Action::ControlPc},
        {{EventMenu, ItemGiveControl, 0, 0}, Action::GiveControl},
        {{EventMenu, ItemExit, 0, 0}, Action::ConfirmExit},
        {{EventMenu, ItemAbout, 0, 0}, Action::OpenAboutWindow},
        {{EventMenu, 13, 0, 0}, Action::None},
        {{EventTray, 1, MainWindow, LeftClick}, Action::RestoreMainWindow},
        {{EventTray, 1, MainWindow, RightClick}, Action::TrayMenu},
        {{EventTray, 1, MainWindow, LeftDoubleClick}, Action::None},
        {{EventTray, 1, MainWindow, RightDoubleClick}, Action::None},
        {{EventGadget, GadgetLogin, MainWindow, LeftClick}, Action::ToggleLogin},
        {{EventGadget, GadgetNetworks, MainWindow, LeftClick}, Action::NetworksMenu},
        {{EventGadget, GadgetSettings, MainWindow, LeftClick}, Action::OpenStatusWindow},
        {{EventGadget, GadgetRoster, MainWindow, RightClick}, Action::RosterMenu},
        {{EventGadget, GadgetRoster, MainWindow, LeftClick}, Action::None},
        {{EventGadget, GadgetRoster, MainWindow, LeftDoubleClick}, Action::None},
        {{EventGadget, GadgetRoster, MainWindow, RightDoubleClick}, Action::None},
        {{EventGadget, GadgetIdentity, MainWindow, LeftClick}, Action::None},
        {{EventGadget, GadgetCreate, CreateNetworkWindow, 0}, Action::CreateNetwork},
        {{EventGadget, GadgetCreateCancel, CreateNetworkWindow, 0}, Action::CloseDialog},
        {{EventGadget, GadgetJoin, JoinNetworkWindow, 0}, Action::JoinNetwork},
        {{EventGadget, GadgetJoinCancel, JoinNetworkWindow, 0}, Action::CloseDialog},
        {{EventGadget, GadgetStatusTab, StatusWindow, 0}, Action::ShowStatusPage},
        {{EventGadget, GadgetSystemTab, StatusWindow, 0}, Action::ShowSystemPage},
        {{EventGadget, GadgetChangeNickname, StatusWindow, 0}, Action::OpenNicknameDialog},
        {{EventGadget, GadgetBackupIdentity, StatusWindow, 0}, Action::BackupIdentity},
        {{EventGadget, GadgetConfirmEvict, StatusWindow, 0}, Action::EnableUpdate},
        {{EventGadget, GadgetKeepAlive, StatusWindow, FocusGained}, Action::EnableUpdate},
        {{EventGadget, GadgetTxRate, StatusWindow, FocusLost}, Action::EnableUpdate},
        {{EventGadget, GadgetRxRate, StatusWindow, TextChanged}, Action::EnableUpdate},
        {{EventGadget, GadgetUpdate, StatusWindow, 0}, Action::UpdateSettings},
        {{EventGadget, GadgetNicknameChange, NicknameWindow, 0}, Action::ChangeNickname},
        {{EventGadget, GadgetNicknameCancel, NicknameWindow, 0}, Action::CloseDialog},
        {{EventGadget, 21, CreateNetworkWindow, TextChanged}, Action::None},
        {{EventSizeChanged, 0, MainWindow, 0}, Action::None},
        {{4, 0, MainWindow, 0}, Action::None},
    };
    for (const RouteCase& c : cases) {
        EXPECT_EQ(RouteEvent(c.event), c.action)
            << "kind " << c.event.kind << " object " << c.event.object << " window "
            << c.event.window << " sub-type " << c.event.subtype;
    }
}

class EventLoopTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ClientWithOneNetwork();
        OpenMain();
        ClientLoggedIn = true;
        ShowClientState("on");
        RefreshRoster();
        LastCheck = Millis();
        scenario.ClearLog();
    }
};

TEST_F(EventLoopTest, WatchdogRunsOnlyAfterFiveSeconds) {
    time.Advance(5000);
    LoopPass();
    EXPECT_TRUE(scenario.Calls().empty());
    LastCheck = Millis() - 5001;
    const int32_t before = Millis();
    LoopPass();
    EXPECT_EQ(scenario.Calls(), (std::vector<std::string>{"hamachi", "hamachi list"}));
    EXPECT_EQ(LastCheck, before + 200);  // taken after its two runner waits
}

TEST_F(EventLoopTest, IdlePassWaitsUntilTheWatchdogIsDue) {
    time.Advance(1200);
    // Passes that find window-system work pending do not wait; the first idle
    // one waits exactly until the watchdog falls due.
    time.ClearPauses();
    for (int pass = 0; pass < 100 && time.Pauses().empty(); ++pass) LoopPass();
    EXPECT_EQ(time.Pauses(), std::vector<int>{3801});
    EXPECT_TRUE(scenario.Calls().empty());
    LastCheck = Millis();
    PostEvent(ProgramEvent{EventGadget, GadgetIdentity, MainWindow, LeftClick});
    time.ClearPauses();
    LoopPass();
    EXPECT_EQ(time.Pauses(), std::vector<int>{1});  // a pass with an event only pauses
}

TEST_F(EventLoopTest, WatchdogDueAcrossTheClockWrap) {
    LastCheck = INT32_MAX - 1000;
    time.Advance(int64_t{INT32_MAX} - 1000 + 4000 - time.Now());
    LoopPass();
    EXPECT_TRUE(scenario.Calls().empty());
    time.Advance(2500);  // past the wrap of the 32-bit clock
    LoopPass();
    EXPECT_EQ(scenario.Calls().front(), "hamachi");
}

TEST_F(EventLoopTest, SizeChangeRelaysAndDropsWhatIsPending) {
    PostEvent(ProgramEvent{EventSizeChanged, 0, MainWindow, 0});
    PostEvent(ProgramEvent{EventGadget, GadgetLogin, MainWindow, LeftClick});
    LoopPass();
    EXPECT_EQ(QueuedEventCount(), 0);
    EXPECT_TRUE(scenario.Calls().empty());  // the login click was dropped
}

TEST_F(EventLoopTest, QuitEndsTheLoopWithStatusZero) {
    QuitRequested = true;
    EXPECT_EQ(ExitStatusOf([] { RunEventLoop(); }), 0);
    EXPECT_FALSE(WindowIsOpen(MainWindow));
}

TEST_F(EventLoopTest, ClientStoppedAndRestarted) {
    scenario.SetRunning(false);
    std::string statusAtQuestion;
    ScriptBoxesWith([&](const BoxRecord&) {
        statusAtQuestion = GadgetText(GadgetStatus);
        return ScriptedAnswer{BoxAnswer::Yes, ""};
    });
    RunWatchdog();
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           "Hamachi Error|Hamachi is no longer running.  Do you want to\n"
                           "restart Hamachi?   (No quits client)."});
    EXPECT_EQ(statusAtQuestion, "offline");
    EXPECT_EQ(scenario.Calls(), (std::vector<std::string>{"hamachi", "hamachi start"}));
    EXPECT_FALSE(QuitRequested);
    EXPECT_FALSE(ClientLoggedIn);
    EXPECT_EQ(ButtonImage(GadgetLogin), ImageLoggedOut);
    EXPECT_EQ(GadgetText(GadgetStatus), "offline");
    EXPECT_EQ(TreeRowCount(GadgetRoster), 0);
    EXPECT_FALSE(GadgetSensitive(GadgetRoster));
}

TEST_F(EventLoopTest, ClientStoppedAndNotRestartedQuits) {
    scenario.SetRunning(false);
    for (BoxAnswer answer : {BoxAnswer::No, BoxAnswer::Closed}) {
        QuitRequested = false;
        ScriptBoxes({{answer, ""}});
        scenario.ClearLog();
        RunWatchdog();
        EXPECT_TRUE(QuitRequested);
        EXPECT_EQ(scenario.Calls(), std::vector<std::string>{"hamachi"});
    }
}

TEST_F(EventLoopTest, LoggedOutBehindOurBack) {
    scenario.SetLoggedIn(false);
    RunWatchdog();
    EXPECT_FALSE(ClientLoggedIn);
    EXPECT_EQ(ButtonImage(GadgetLogin), ImageLoggedOut);
    EXPECT_EQ(TreeRowCount(GadgetRoster), 0);
    EXPECT_EQ(GadgetText(GadgetStatus), "offline");  // the client's own status line
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(EventLoopTest, LoggedInBehindOurBack) {
    scenario.SetLoggedIn(false);
    RunWatchdog();
    scenario.SetLoggedIn(true);
    scenario.ClearLog();
    RunWatchdog();
    EXPECT_TRUE(ClientLoggedIn);
    EXPECT_EQ(ButtonImage(GadgetLogin), ImageLoggedIn);
    EXPECT_EQ(TreeRowCount(GadgetRoster), 2);
    EXPECT_TRUE(GadgetSensitive(GadgetRoster));
    EXPECT_EQ(GadgetText(GadgetStatus), Nickname);
}

TEST_F(EventLoopTest, StatusLineShownWhileLoggedOut) {
    ClientLoggedIn = false;
    scenario.SetAnswer("probe", "version  : 1\npid      : 9\nstatus   : logging in, step 2\n");
    RunWatchdog();
    EXPECT_EQ(ClientStatusText, "logging in, step 2");
    EXPECT_EQ(GadgetText(GadgetStatus), "logging in, step 2");
}

TEST_F(EventLoopTest, SilentProbeSwitchesToTheLoggedOutLookWithoutAQuestion) {
    scenario.SetAnswer("probe", "");
    RunWatchdog();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(ClientLoggedIn);
    EXPECT_EQ(GadgetText(GadgetStatus), "offline");
}

}  // namespace
