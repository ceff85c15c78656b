#include "mainwindow/main_window.h"
#include "app/event_loop.h"
#include "client/client_state.h"
#include "client/roster.h"
#include "common/identifiers.h"
#include "program_test.h"

void PrintTo(const GadgetBox& box, std::ostream* out) {
    *out << box.x << "," << box.y << " " << box.width << "x" << box.height;
}

namespace {

class MainWindowTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        RunningClient(true);
        OpenMain();
        ClientIdentity = Identity;
        ClientNickname = Nickname;
        ASSERT_TRUE(PumpUntil([this] { return Size() == std::make_pair(250, 270); }));
        DrainEvents();
        DropQueuedEvents();
    }

    // Resizes as the user would and lets the loop handle the size change.
    void UserResizes(int width, int height) {
        ResizeWindow(MainWindow, width, height);
        ASSERT_TRUE(PumpUntil([] { return QueuedEventCount() > 0; }));
        LoopPass();
        PumpUntil([&] { return false; }, 100);  // let any snap settle
    }

    std::pair<int, int> Size() {
        int width = 0;
        int height = 0;
        GetWindowSize(MainWindow, &width, &height);
        return {width, height};
    }
};

TEST_F(MainWindowTest, LargerSizesLayTheGadgetsOut) {
    SetGadgetText(GadgetStatus, "offline");
    UserResizes(201, 251);
    EXPECT_EQ(Size(), std::make_pair(201, 251));
    EXPECT_EQ(GadgetGeometry(GadgetIdentity), (GadgetBox{5, 30, 191, 20}));
    EXPECT_EQ(GadgetGeometry(GadgetStatus), (GadgetBox{5, 50, 191, 20}));
    EXPECT_EQ(GadgetGeometry(GadgetRoster), (GadgetBox{5, 75, 191, 126}));
    EXPECT_EQ(GadgetGeometry(GadgetLogin), (GadgetBox{5, 206, 43, 43}));
    EXPECT_EQ(GadgetGeometry(GadgetNetworks), (GadgetBox{109, 206, 43, 43}));
    EXPECT_EQ(GadgetGeometry(GadgetSettings), (GadgetBox{154, 206, 43, 43}));
    // the nickname replaces whatever status message was shown
    EXPECT_EQ(GadgetText(GadgetStatus), Nickname);
    EXPECT_EQ(GadgetText(GadgetIdentity), Identity);
}

TEST_F(MainWindowTest, SmallerSizesSnapToTheMinimumAndKeepTheLayout) {
    const std::pair<int, int> tooSmall[] = {{300, 240}, {150, 150}, {200, 400}};
    for (const auto& [width, height] : tooSmall) {
        const GadgetBox settings = GadgetGeometry(GadgetSettings);
        const GadgetBox roster = GadgetGeometry(GadgetRoster);
        UserResizes(width, height);
        EXPECT_EQ(Size(), std::make_pair(200, 250)) << width << "x" << height;
        EXPECT_EQ(GadgetGeometry(GadgetSettings), settings) << width << "x" << height;
        EXPECT_EQ(GadgetGeometry(GadgetRoster), roster) << width << "x" << height;
        UserResizes(250, 270);  // back, for the next case
    }
    // laid out by the rule at 250 wide: one pixel right of where it was built
    EXPECT_EQ(GadgetGeometry(GadgetSettings).x, 203);
}

TEST_F(MainWindowTest, TrayDoubleClicksDoNothing) {
    HideMainWindow();
    Dispatch(ProgramEvent{EventTray, 1, MainWindow, LeftDoubleClick});
    Dispatch(ProgramEvent{EventTray, 1, MainWindow, RightDoubleClick});
    EXPECT_FALSE(WindowIsVisible(MainWindow));
    EXPECT_FALSE(PopupMenuShown(MenuTray));
    Dispatch(ProgramEvent{EventTray, 1, MainWindow, RightClick});
    EXPECT_TRUE(PopupMenuShown(MenuTray));  // also while the window is hidden
}

TEST(ClickTest, DoublePressMarksTheReleaseThatFollows) {
    struct Step {
        bool press;
        PressType type;
        int button;
        int reported;  // for releases
    };
    const std::vector<std::vector<Step>> sequences = {
        {{true, PressType::Single, 1, 0}, {false, PressType::Single, 1, LeftClick}},
        {{true, PressType::Single, 3, 0}, {false, PressType::Single, 3, RightClick}},
        // a quick pair: the second release is the double-click
        {{true, PressType::Single, 1, 0},
         {false, PressType::Single, 1, LeftClick},
         {true, PressType::Single, 1, 0},
         {true, PressType::Double, 1, 0},
         {false, PressType::Single, 1, LeftDoubleClick},
         {true, PressType::Single, 1, 0},
         {false, PressType::Single, 1, LeftClick}},
        {{true, PressType::Double, 3, 0}, {false, PressType::Single, 3, RightDoubleClick}},
        // a triple press clears the mark
        {{true, PressType::Double, 1, 0},
         {true, PressType::Triple, 1, 0},
         {false, PressType::Single, 1, LeftClick}},
        // other buttons are not clicks, and their presses keep the mark
        {{true, PressType::Double, 1, 0},
         {true, PressType::Single, 2, 0},
         {false, PressType::Single, 2, -1},
         {false, PressType::Single, 1, LeftDoubleClick}},
    };
    for (size_t s = 0; s < sequences.size(); ++s) {
        ClickState state;
        for (const Step& step : sequences[s]) {
            if (step.press) {
                ClickPressed(state, step.type, step.button);
            } else {
                EXPECT_EQ(ClickReleased(state, step.button), step.reported) << "sequence " << s;
            }
        }
    }
}

TEST_F(MainWindowTest, OffAndOnLooks) {
    scenario.AddNetwork("alpha", true, true);
    RefreshRoster();
    ASSERT_GT(TreeRowCount(GadgetRoster), 0);

    ShowClientState("off");
    EXPECT_EQ(GadgetText(GadgetStatus), "offline");
    for (int gadget : {GadgetIdentity, GadgetRoster, GadgetNetworks, GadgetSettings}) {
        EXPECT_FALSE(GadgetSensitive(gadget)) << gadget;
    }
    EXPECT_TRUE(GadgetSensitive(GadgetLogin));
    EXPECT_EQ(TreeRowCount(GadgetRoster), 0);
    EXPECT_EQ(LastListOutput, "");

    scenario.Configure(Identity, "renamed");
    scenario.ClearLog();
    ShowClientState("on");
    for (int gadget : {GadgetIdentity, GadgetRoster, GadgetNetworks, GadgetSettings}) {
        EXPECT_TRUE(GadgetSensitive(gadget)) << gadget;
    }
    EXPECT_EQ(GadgetText(GadgetStatus), "renamed");
    EXPECT_EQ(scenario.Calls(), std::vector<std::string>{"hamachi"});
}

}  // namespace
