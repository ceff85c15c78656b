#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "app/event_loop.h"
#include "client/client_state.h"
#include "common/identifiers.h"
#include "common/read_file.h"
#include "common/text.h"
#include "program_test.h"
#include "settings/options_file.h"

namespace {

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
    void Press(int gadget) {
        Dispatch(ProgramEvent{EventGadget, gadget, 0, LeftClick});
        Settle();
    }
    std::string Tabs() {
        return std::to_string(ButtonImage(GadgetStatusTab)) + "," +
               std::to_string(ButtonImage(GadgetSystemTab)) +
               (GadgetVisible(GadgetStatusPage) ? " status" : "") +
               (GadgetVisible(GadgetSystemPage) ? " system" : "");
    }
    std::string Fields() {
        return GadgetText(GadgetKeepAlive) + "|" + GadgetText(GadgetTxRate) + "|" +
               GadgetText(GadgetRxRate) + (CheckBoxTicked(GadgetConfirmEvict) ? "|ticked" : "");
    }
    void WriteConfig(const std::string& text) {
        std::ofstream(ClientConfigDir + "config", std::ios::binary) << text;
    }
};

struct NetworkCase {
    bool create;
    const char* name;
    const char* password;
    const char* answer;
    const char* refusal;  // the message when the dialog stays
};

TEST_F(DialogsTest, NetworkDialogsSendEachValueWholeAndStayOnlyOnTheirPhrase) {
    const NetworkCase cases[] = {
        {true, "  my net  ", " pw ", "", nullptr},
        {true, "   ", "", "Creating .. failed\n", nullptr},
        {true, "it's", "a'b\"$(x)", "failed, network name is already taken\n",
         "Network name is already taken"},
        {false, " x", "", "Joining [x] .. failed, invalid password\n", "Invalid password"},
        {false, "x", "", "Invalid password\n", nullptr},
    };
    for (const NetworkCase& c : cases) {
        const char* sub = c.create ? "create" : "join";
        const int window = c.create ? CreateNetworkWindow : JoinNetworkWindow;
        Dispatch(ProgramEvent{EventMenu, c.create ? ItemCreateNetwork : ItemJoinNetwork, 0, 0});
        SetGadgetText(c.create ? GadgetCreateName : GadgetJoinName, c.name);
        SetGadgetText(c.create ? GadgetCreatePassword : GadgetJoinPassword, c.password);
        scenario.SetAnswer(sub, c.answer);
        scenario.ClearLog();
        ScriptBoxes({});
        Press(c.create ? GadgetCreate : GadgetJoin);
        const auto calls = scenario.Invocations();
        ASSERT_FALSE(calls.empty()) << c.name;
        EXPECT_EQ(calls[0].args, (std::vector<std::string>{sub, Trim(c.name), c.password}));
        EXPECT_EQ(WindowIsOpen(window), c.refusal != nullptr) << c.name;
        EXPECT_EQ(Boxes(), c.refusal ? std::vector<std::string>{std::string("Hamachi|") + c.refusal}
                                     : std::vector<std::string>{});
        EXPECT_EQ(calls.back().args[0], c.refusal ? sub : "list");  // the roster refreshed
    }
}

TEST_F(DialogsTest, AnEmptyNameSendsNothingAndReopeningEmptiesTheDialog) {
    Dispatch(ProgramEvent{EventMenu, ItemJoinNetwork, 0, 0});
    SetGadgetText(GadgetJoinPassword, "secret");
    Press(GadgetJoin);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Hamachi|Please enter a network name"});
    EXPECT_TRUE(scenario.Calls().empty());
    Dispatch(ProgramEvent{EventMenu, ItemJoinNetwork, 0, 0});
    EXPECT_EQ(GadgetText(GadgetJoinPassword), "");
}

TEST_F(DialogsTest, StatusWindowPagesAndWhenUpdateCanBePressed) {
    ClientVersion = "1.0.3";
    Press(GadgetSettings);
    EXPECT_EQ(GadgetText(GadgetVersion) + "|" + GadgetText(GadgetAddress) + "|" +
                  GadgetText(GadgetNickname),
              std::string("1.0.3|") + Identity + "|" + Nickname);
    EXPECT_EQ(Tabs(), "12,10 status");
    Press(GadgetSystemTab);
    EXPECT_EQ(Tabs(), "11,9 system");
    EXPECT_EQ(Fields(), "90|0|0|ticked");
    EXPECT_TRUE(GadgetSensitive(GadgetUpdate));  // the fill ticked the box
    Press(GadgetStatusTab);
    EXPECT_EQ(Tabs(), "12,10 status");
    Press(GadgetSystemTab);
    EXPECT_FALSE(GadgetSensitive(GadgetUpdate));  // the fill changed nothing
    WriteConfig("KeepAlive 30s\nRxRate 7\n");
    Press(GadgetSystemTab);
    EXPECT_EQ(Fields(), "30|0|7|ticked");
    EXPECT_TRUE(GadgetSensitive(GadgetUpdate));
    SetGadgetText(GadgetTxRate, "");
    InsertGadgetText(GadgetTxRate, "1a-2\xC2\xB3");
    EXPECT_EQ(GadgetText(GadgetTxRate), "12");
    SetCheckBox(GadgetConfirmEvict, false);
    Dispatch(ProgramEvent{EventCloseWindow, 0, StatusWindow, 0});
    EXPECT_EQ(ConfirmEvict, 1);
}

TEST_F(DialogsTest, UpdateSavesBothFilesAndReloadsOnlyOnYes) {
    const BoxAnswer answers[] = {BoxAnswer::Yes, BoxAnswer::No};
    for (BoxAnswer answer : answers) {
        Press(GadgetSettings);
        WriteConfig("Custom 1\n");
        Press(GadgetSystemTab);
        SetCheckBox(GadgetConfirmEvict, false);
        SetGadgetText(GadgetTxRate, "512");
        Settle();
        ScriptBoxes({{answer, ""}});
        scenario.ClearLog();
        time.ClearPauses();
        Press(GadgetUpdate);
        EXPECT_EQ(ReadWholeFile(ClientConfigDir + "config"), "Custom 1\nKeepAlive 90\nTxRate 512\n");
        EXPECT_EQ(ReadWholeFile(ClientConfigDir + "options").value_or("").substr(0, 17),
                  "ConfirmEvict = 0\n");
        EXPECT_EQ(Boxes(), std::vector<std::string>{"Hamachi|Reload Hamachi?"});
        const bool yes = answer == BoxAnswer::Yes;
        EXPECT_EQ(scenario.Calls(), (yes ? std::vector<std::string>{"hamachi stop", "hamachi start"}
                                         : std::vector<std::string>{}));
        EXPECT_EQ(time.Pauses(), (yes ? std::vector<int>{100, 1000, 100} : std::vector<int>{}));
        EXPECT_FALSE(GadgetSensitive(GadgetUpdate));
        ConfirmEvict = 1;
    }
    ClientConfigDir = scenario.Home() + "/missing/";
    ScriptBoxes({});
    Press(GadgetUpdate);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Hamachi|Error: can't write the 'config' file",
                                                 "Hamachi|Reload Hamachi?"}));
}

TEST_F(DialogsTest, NicknameChangesOnlyOnTheExactPhraseLessLineFeeds) {
    const std::pair<const char*, bool> answers[] = {
        {"Setting nickname .. ok\n", true},     {"\nSetting nick\nname .. ok\n\n", true},
        {"Setting nickname .. ok.\n", false},   {"Setting nickname .. ok\r\n", false},
        {" Setting nickname .. ok\n", false},   {"", false}};
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
        const std::string shown = ok ? "it's me" : Nickname;
        EXPECT_EQ(ClientNickname + GadgetText(GadgetStatus) + GadgetText(GadgetNickname),
                  shown + shown + shown) << answer;
        EXPECT_EQ(WindowIsOpen(NicknameWindow), !ok) << answer;
        EXPECT_EQ(Boxes().size(), ok ? 0u : 1u) << answer;
    }
    ShowClientState("off");
    Press(GadgetChangeNickname);
    EXPECT_EQ(GadgetText(GadgetCurrentNick) + "|" + GadgetText(GadgetNewNick), "offline|offline");
    EXPECT_FALSE(GadgetSensitive(GadgetCurrentNick));
}

TEST_F(DialogsTest, BackupProposesAPathUnderHome) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"/home/user", "5.1.2.3", "/home/user/Hamachi_5.1.2.3_backup.tar"},
        {"/home/user", "", "/home/user/Hamachi__backup.tar"},
        {nullptr, "x", "/Hamachi_x_backup.tar"}};
    for (const auto& [home, identity, proposed] : cases) {
        home ? setenv("HOME", home, 1) : unsetenv("HOME");
        ClientIdentity = identity;
        ScriptBoxes({});
        Press(GadgetBackupIdentity);
        EXPECT_EQ(Boxes(), std::vector<std::string>{std::string("Save tar backup to|") + proposed});
    }
    setenv("HOME", scenario.Home().c_str(), 1);
}

TEST_F(DialogsTest, BackupAsksOnlyBeforeOverwritingAFileWithContent) {
    const std::string log = scenario.Home() + "/tar.log";
    scenario.AddProgram("tar", "#!/bin/sh\n{ umask; printf '%s\\n' \"$@\"; } >>'" + log + "'\n");
    const std::string empty = scenario.Home() + "/empty.tar", full = scenario.Home() + "/full.tar";
    std::ofstream(empty).close();
    std::ofstream(full) << "old";
    auto lines = [&] {
        const std::string text = ReadWholeFile(log).value_or("");
        return std::count(text.begin(), text.end(), '\n');
    };
    long expected = 0;
    const std::pair<std::string, BoxAnswer> runs[] = {
        {empty, BoxAnswer::Closed}, {full, BoxAnswer::No}, {full, BoxAnswer::Yes}};
    for (const auto& [path, answer] : runs) {
        ScriptBoxes({{BoxAnswer::Ok, path}, {answer, ""}});
        Press(GadgetBackupIdentity);
        EXPECT_EQ(Boxes().size(), path == full ? 2u : 1u);
        if (answer != BoxAnswer::No) expected += 4;
        EXPECT_TRUE(PumpUntil([&] { return lines() == expected; }));
    }
    EXPECT_EQ(ReadWholeFile(log), "0077\ncf\n" + empty + "\n" + ClientConfigDir + "\n" +
                                      "0077\ncf\n" + full + "\n" + ClientConfigDir + "\n");
}

TEST_F(DialogsTest, BackupIsAPrivateTarOfTheConfigurationDirectory) {
    ClientConfigDir = scenario.Home() + "/conf 'dir'/";
    std::filesystem::create_directory(ClientConfigDir);
    std::ofstream(ClientConfigDir + "state") << "Identity   1.2.3.4\n";
    const std::string target = scenario.Home() + "/my backup.tar";
    ScriptBoxes({{BoxAnswer::Ok, target}});
    Press(GadgetBackupIdentity);
    const std::string list = "tar tf '" + target + "' 2>/dev/null";
    EXPECT_TRUE(PumpUntil([&] { return Contains(scenario.RunShell(list), "conf 'dir'/state\n"); }));
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

}  // namespace
