// SPDX-License-Identifier: GPL-2.0-or-later
#include <sys/stat.h>

#include <fstream>

#include "app/event_loop.h"
#include "client/client_state.h"
#include "common/identifiers.h"
#include "common/read_file.h"
#include "common/text.h"
#include "program_test.h"
#include "settings/options_file.h"

namespace {

using Texts = std::vector<std::string>;

class DialogsTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ClientWithOneNetwork();
        OpenMainLoggedIn();
    }
    // Dispatches what the window system and the program posted, as the loop does.
    void Settle() {
        HandlePendingWindowEvents();
        for (ProgramEvent event; PollEvent(&event);) Dispatch(event);
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

TEST_F(DialogsTest, NetworkDialogsSendEachValueWholeAndStayOnlyOnTheirPhrase) {
    struct Case {
        int item;
        const char *name, *password, *answer, *message;  // message: the dialog stays
    };
    const Case cases[] = {
        {ItemCreateNetwork, "  my net  ", " pw ", "", nullptr},
        {ItemCreateNetwork, "   ", "", "Creating .. failed\n", nullptr},
        {ItemCreateNetwork, "it's", "a'b\"$(x)", ".. failed, network name is already taken\n",
         "Network name is already taken"},
        {ItemJoinNetwork, " x", "", ".. failed, invalid password\n", "Invalid password"},
        {ItemJoinNetwork, "x", "", "Invalid password\n", nullptr},
    };
    for (const Case& c : cases) {
        const bool create = c.item == ItemCreateNetwork;
        const std::string sub = create ? "create" : "join";
        Press(c.item, EventMenu);
        SetGadgetText(create ? GadgetCreateName : GadgetJoinName, c.name);
        SetGadgetText(create ? GadgetCreatePassword : GadgetJoinPassword, c.password);
        scenario.SetAnswer(sub, c.answer);
        scenario.ClearLog();
        ScriptBoxes({});
        Press(create ? GadgetCreate : GadgetJoin);
        const auto calls = scenario.Invocations();
        ASSERT_FALSE(calls.empty()) << c.name;
        EXPECT_EQ(calls[0].args, (Texts{sub, Trim(c.name), c.password}));
        EXPECT_EQ(calls.back().args[0], c.message ? sub : "list");  // the roster refreshed
        EXPECT_EQ(WindowIsOpen(create ? CreateNetworkWindow : JoinNetworkWindow), !!c.message);
        EXPECT_EQ(Boxes(), c.message ? Texts{std::string("Hamachi|") + c.message} : Texts{});
    }
    SetGadgetText(GadgetJoinName, "");
    ScriptBoxes({});
    scenario.ClearLog();
    Press(GadgetJoin);
    EXPECT_EQ(Boxes(), Texts{"Hamachi|Please enter a network name"});
    EXPECT_TRUE(scenario.Calls().empty());
}

TEST_F(DialogsTest, StatusWindowPagesUpdateAndReload) {
    ClientVersion = "1.0.3";
    Press(GadgetSettings);
    EXPECT_EQ(Shown({GadgetVersion, GadgetAddress, GadgetNickname}),
              std::string("1.0.3|") + Identity + "|" + Nickname + "|");
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
    std::ofstream(ClientConfigDir + "config") << "KeepAlive 30s\nCustom 1\n";
    Press(GadgetSystemTab);
    EXPECT_TRUE(GadgetSensitive(GadgetUpdate));
    SetGadgetText(GadgetTxRate, "");
    InsertGadgetText(GadgetTxRate, "1a-2\xC2\xB3");
    EXPECT_EQ(Shown({GadgetKeepAlive, GadgetTxRate}), "30|12|");
    SetCheckBox(GadgetConfirmEvict, false);
    Settle();
    EXPECT_EQ(ConfirmEvict, 1);  // only Update stores it
    for (BoxAnswer answer : {BoxAnswer::No, BoxAnswer::Yes}) {
        ScriptBoxes({{answer, ""}});
        scenario.ClearLog();
        time.ClearPauses();
        Press(GadgetUpdate);
        EXPECT_EQ(ReadWholeFile(ClientConfigDir + "config"), "KeepAlive 30\nCustom 1\nTxRate 12\n");
        EXPECT_EQ(ConfirmEvict, 0);
        EXPECT_TRUE(Contains(ReadWholeFile(ClientConfigDir + "options").value_or(""),
                             "ConfirmEvict = 0\n"));
        EXPECT_EQ(Boxes(), Texts{"Hamachi|Reload Hamachi?"});
        const bool yes = answer == BoxAnswer::Yes;
        EXPECT_EQ(scenario.Calls(), (yes ? Texts{"hamachi stop", "hamachi start"} : Texts{}));
        EXPECT_EQ(time.Pauses(), (yes ? std::vector<int>{100, 1000, 100} : std::vector<int>{}));
        EXPECT_FALSE(GadgetSensitive(GadgetUpdate));
    }
}

TEST_F(DialogsTest, NicknameChangesOnlyOnTheExactPhraseLessLineFeeds) {
    const std::pair<const char*, bool> answers[] = {
        {"Setting nickname .. ok\n", true},   {"\nSetting nick\nname .. ok\n\n", true},
        {"Setting nickname .. ok.\n", false}, {"Setting nickname .. ok\r\n", false},
        {" Setting nickname .. ok", false},   {"", false}};
    Press(GadgetSettings);
    for (const auto& [answer, ok] : answers) {
        ClientNickname = Nickname;
        SetGadgetText(GadgetStatus, Nickname);
        SetGadgetText(GadgetNickname, Nickname);
        Press(GadgetChangeNickname);
        scenario.ClearLog();
        ScriptBoxes({});
        Press(GadgetNicknameChange);
        EXPECT_TRUE(scenario.Calls().empty());  // unchanged: not sent
        SetGadgetText(GadgetNewNick, "it's me");
        scenario.SetAnswer("set-nick", answer);
        Press(GadgetNicknameChange);
        EXPECT_EQ(scenario.Invocations(),
                  (std::vector<StandinInvocation>{{"hamachi", {"set-nick", "it's me"}}}));
        const std::string now = ok ? "it's me" : Nickname;
        EXPECT_EQ(ClientNickname + "|" + Shown({GadgetStatus, GadgetNickname}),
                  now + "|" + now + "|" + now + "|") << answer;
        EXPECT_EQ(WindowIsOpen(NicknameWindow), !ok) << answer;
        EXPECT_EQ(Boxes().size(), ok ? 0u : 1u) << answer;
    }
    ShowClientState("off");
    Press(GadgetChangeNickname);
    EXPECT_EQ(Shown({GadgetCurrentNick, GadgetNewNick}), "offline|offline|");
}

TEST_F(DialogsTest, BackupProposesAPathUnderHomeAndAsksOnlyForAFileWithContent) {
    ClientIdentity = "";
    unsetenv("HOME");
    Press(GadgetBackupIdentity);
    EXPECT_EQ(Boxes(), Texts{"Save tar backup to|/Hamachi__backup.tar"});
    setenv("HOME", scenario.Home().c_str(), 1);

    // tar's real run is left to the desktop test: here it only says how it was started.
    const std::string log = scenario.Home() + "/tar.log";
    scenario.AddProgram("tar", "#!/bin/sh\n{ umask; printf '%s\\n' \"$@\"; } >>'" + log + "'\n");
    ClientConfigDir = scenario.Home() + "/conf 'dir'/";
    const std::string empty = scenario.Home() + "/an empty.tar", full = scenario.Home() + "/full.tar";
    std::ofstream(empty).close();
    std::ofstream(full) << "old";
    std::string expected;
    for (const auto& [path, answer] : {std::pair{empty, BoxAnswer::No}, {full, BoxAnswer::No},
                                       {full, BoxAnswer::Yes}}) {
        ScriptBoxes({{BoxAnswer::Ok, path}, {answer, ""}});
        Press(GadgetBackupIdentity);
        EXPECT_EQ(Boxes().size(), path == full ? 2u : 1u);
        if (path == empty || answer == BoxAnswer::Yes) {
            expected += "0077\ncf\n" + path + "\n" + ClientConfigDir + "\n";
        }
        EXPECT_TRUE(PumpUntil([&] { return ReadWholeFile(log).value_or("") == expected; }));
    }
    struct stat info {};
    EXPECT_TRUE(stat(empty.c_str(), &info) == 0 && (info.st_mode & 0777) == 0600);  // overwritten
}

}  // namespace
