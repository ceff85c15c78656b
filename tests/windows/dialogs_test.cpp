// SPDX-License-Identifier: GPL-2.0-or-later
#include <filesystem>
#include <fstream>

#include "app/event_loop.h"
#include "common/read_file.h"
#include "common/text.h"
#include "dialogs/create_network.h"
#include "dialogs/identity_backup.h"
#include "dialogs/join_network.h"
#include "dialogs/nickname.h"
#include "dialogs/status_window.h"
#include "mainwindow/main_window.h"
#include "window_test.h"

namespace {

using Texts = std::vector<std::string>;

class DialogsTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        OpenLoggedIn();
    }
    void Press(int object, int kind = EventGadget) {
        Dispatch(ProgramEvent{kind, object, 0, LeftClick});
        Settle();
    }
    static std::string Shown(std::initializer_list<int> gadgets) {
        std::string shown;
        for (int gadget : gadgets) shown += GadgetText(gadget) + "|";
        return shown;
    }
};

// Typed texts reach the client in its 8-bit set, or are refused unsent; a network made or
// joined closes the dialog and refreshes the roster.
TEST_F(DialogsTest, NetworkDialogsSendWhatWasTyped) {
    const char* refused =
        "Hamachi|The text holds a character that cannot be sent to Hamachi: only the letters "
        "and signs of ISO-8859-15 can.";
    struct Case {
        int item;
        const char *name, *password;  // UTF-8, as typed
        Texts calls, shown;
    };
    const Case cases[] = {
        {ItemCreateNetwork, " J\xC3\xB6rg's \xE2\x82\xAC ", "",
         {"hamachi create 'J\xF6rg'\\''s \xA4' ''", "hamachi list"}, {}},
        {ItemJoinNetwork, "x", "p\xC3\xA4ss", {"hamachi join 'x' 'p\xE4ss'", "hamachi list"}, {}},
        {ItemCreateNetwork, "\xE2\x98\x83", "", {}, {refused}},
        {ItemJoinNetwork, "x", "\xE4\xB8\xAD", {}, {refused}},
        {ItemJoinNetwork, "", "\xE4\xB8\xAD", {}, {"Hamachi|Please enter a network name"}},
    };
    for (const Case& c : cases) {
        const bool create = c.item == ItemCreateNetwork;
        Press(c.item, EventMenu);
        InsertGadgetText(create ? int(GadgetCreateName) : int(GadgetJoinName), c.name);
        InsertGadgetText(create ? int(GadgetCreatePassword) : int(GadgetJoinPassword), c.password);
        runner.calls.clear();
        boxes.shown.clear();
        Press(create ? int(GadgetCreate) : int(GadgetJoin));
        EXPECT_EQ(runner.calls, c.calls) << c.name;
        EXPECT_EQ(boxes.shown, c.shown) << c.name;
        EXPECT_EQ(WindowIsOpen(create ? CreateNetworkWindow : JoinNetworkWindow), c.calls.empty());
        CloseWindow(create ? CreateNetworkWindow : JoinNetworkWindow);
    }
}

// The dialog starts with what the status line shows; only an edited nickname
// is sent, only the exact answer takes it, and a taken one shows in both windows.
TEST_F(DialogsTest, NicknameIsSentOnlyWhenEdited) {
    Client.Nickname = "J\xF6rg";
    ShowStatusLine(Client.Nickname);
    Press(GadgetSettings);
    Press(GadgetChangeNickname);
    EXPECT_EQ(Shown({GadgetCurrentNick, GadgetNewNick}), "J\xC3\xB6rg|J\xC3\xB6rg|");
    Press(GadgetNicknameChange);
    Press(GadgetNicknameChange);
    EXPECT_TRUE(runner.calls.empty());  // unedited: nothing, however often
    InsertGadgetText(GadgetNewNick, "en");
    runner.CannotRun("hamachi set-nick 'J\xF6rgen'");
    Press(GadgetNicknameChange);
    runner.Answer("hamachi set-nick 'J\xF6rgen'", "Setting nickname .. failed\n");
    Press(GadgetNicknameChange);
    EXPECT_EQ(boxes.shown, (Texts{"Hamachi Error|The hamachi command could not be run.",
                                  "Hamachi|Error: could not set new nick name."}));
    EXPECT_EQ(Client.Nickname, "J\xF6rg");
    runner.Answer("hamachi set-nick 'J\xF6rgen'", "Setting nickname .. ok\n");
    Press(GadgetNicknameChange);
    EXPECT_EQ(runner.calls, Texts(3, "hamachi set-nick 'J\xF6rgen'"));
    EXPECT_FALSE(WindowIsOpen(NicknameWindow));
    EXPECT_EQ(Client.Nickname + "|" + Shown({GadgetStatus, GadgetNickname}),
              "J\xF6rgen|J\xF6rgen|J\xF6rgen|");

    // Logged out, the dialog shows the status, which is never sent as is.
    ShowClientState("off");
    Press(GadgetChangeNickname);
    EXPECT_EQ(Shown({GadgetCurrentNick, GadgetNewNick}), "offline|offline|");
    runner.calls.clear();
    Press(GadgetNicknameChange);
    EXPECT_TRUE(runner.calls.empty());
    EXPECT_TRUE(WindowIsOpen(NicknameWindow));
}

TEST_F(DialogsTest, StatusWindowPagesUpdateAndReload) {
    Client.Version = "1.0.3";
    Client.Identity = "5.44.1.9";
    Client.Nickname = "ravenfan";
    Press(GadgetSettings);
    EXPECT_EQ(Shown({GadgetVersion, GadgetAddress, GadgetNickname}), "1.0.3|5.44.1.9|ravenfan|");
    EXPECT_EQ(ButtonImage(GadgetStatusTab) * 100 + ButtonImage(GadgetSystemTab), 1210);
    Press(GadgetSystemTab);
    EXPECT_EQ(ButtonImage(GadgetStatusTab) * 100 + ButtonImage(GadgetSystemTab), 1109);
    EXPECT_TRUE(GadgetVisible(GadgetSystemPage) && !GadgetVisible(GadgetStatusPage));
    EXPECT_EQ(Shown({GadgetKeepAlive, GadgetTxRate, GadgetRxRate}), "90|0|0|");
    EXPECT_TRUE(CheckBoxTicked(GadgetConfirmEvict));
    EXPECT_TRUE(GadgetSensitive(GadgetUpdate));  // the fill ticked the box
    Press(GadgetStatusTab);
    Press(GadgetSystemTab);
    EXPECT_FALSE(GadgetSensitive(GadgetUpdate));  // the fill changed nothing
    std::filesystem::create_directories(scenario.ConfigDir());
    Client.ConfigDir = scenario.ConfigDir();
    std::ofstream(Client.ConfigDir + "config") << "KeepAlive 30s\nCustom 1\n";
    Press(GadgetSystemTab);
    EXPECT_TRUE(GadgetSensitive(GadgetUpdate));
    SetGadgetText(GadgetTxRate, "");
    InsertGadgetText(GadgetTxRate, "1a-2\xC2\xB3");
    EXPECT_EQ(Shown({GadgetKeepAlive, GadgetTxRate}), "30|12|");
    SetCheckBox(GadgetConfirmEvict, false);
    Settle();
    EXPECT_EQ(Options.ConfirmEvict, 1);  // only Update stores it
    for (BoxAnswer answer : {BoxAnswer::No, BoxAnswer::Yes}) {
        boxes.answers = {answer};
        boxes.shown.clear();
        runner.calls.clear();
        Press(GadgetUpdate);
        EXPECT_EQ(ReadWholeFile(Client.ConfigDir + "config"), "KeepAlive 30\nCustom 1\nTxRate 12\n");
        EXPECT_EQ(Options.ConfirmEvict, 0);
        EXPECT_TRUE(Contains(ReadWholeFile(Client.ConfigDir + "options").value_or(""),
                             "ConfirmEvict = 0\n"));
        EXPECT_EQ(boxes.shown, Texts{"Hamachi|Reload Hamachi?"});
        const bool yes = answer == BoxAnswer::Yes;
        EXPECT_EQ(runner.calls, (yes ? Texts{"hamachi stop", "hamachi start"} : Texts{}));
        EXPECT_FALSE(GadgetSensitive(GadgetUpdate));
    }
}

// The backup asks before overwriting and refuses anything but a file of the user's own.
TEST_F(DialogsTest, BackupAsksAndRefuses) {
    Client.Identity = "";
    const std::string home = scenario.Home();
    std::filesystem::create_directory(home + "/folder");
    std::ofstream(home + "/full.tar") << "old";
    const std::string proposed = "Save tar backup to|" + home + "/Hamachi__backup.tar";
    // What the chooser gives (nothing: cancelled), and the boxes shown; No to each question.
    const std::pair<std::string, Texts> cases[] = {
        {"", {proposed}},
        {home + "/folder", {proposed, "Hamachi Error|No backup was made: " + home +
                                          "/folder is not a file of your own."}},
        {home + "/full.tar", {proposed, "Hamachi|Files exists, overwrite?"}},
    };
    for (const auto& [chosen, shown] : cases) {
        boxes.chosen = chosen;
        boxes.answers = {BoxAnswer::No};
        boxes.shown.clear();
        Press(GadgetBackupIdentity);
        EXPECT_EQ(boxes.shown, shown) << chosen;
    }
    EXPECT_EQ(ReadWholeFile(home + "/full.tar"), "old");
}

}  // namespace
