// SPDX-License-Identifier: GPL-2.0-or-later
#include <filesystem>

#include "app/event_loop.h"
#include "client/roster.h"
#include "common/identifiers.h"
#include "program_test.h"
#include "settings/options_file.h"

namespace {

using Texts = std::vector<std::string>;

// Records its arguments in the stand-in's log, as the stand-in does.
std::string Recorder(const std::string& name) {
    return "#!/bin/sh\nr=\"" + name + "\t$#\n\"\nfor a in \"$@\"; do r=\"$r${#a}\t$a\n\"; done\n" +
           "printf %s \"$r\" >> \"$HOME/.hamachi-standin/log\"\n";
}

// Rows: 0 [alpha] (owned), 1 bob, 2 [beta] (not owned), 3 dan, 4 eve.
class RosterActionsTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        RunningClient(true);
        scenario.AddProgram("xterm", Recorder("xterm"));
        scenario.AddProgram("nautilus", Recorder("nautilus"));
        OpenMain();
    }
    void Fresh(int row) {
        scenario.ClearNetworks();
        scenario.AddNetwork("alpha", true, true);
        scenario.AddMember("5.1.2.3", "bob", StandinMark::Online);
        scenario.AddNetwork("beta", false, false);
        scenario.AddMember("5.1.2.5", "dan", StandinMark::Online);
        scenario.AddMember("5.1.2.6", "eve", StandinMark::Offline);
        LastListOutput.clear();
        RefreshRoster();
        TreeSelectRow(GadgetRoster, row);
        scenario.ClearLog();
    }
    void Choose(int item) { Dispatch(ProgramEvent{EventMenu, item, 0, 0}); }
};

TEST_F(RosterActionsTest, ClientCommandsTheirMessagesAndRefreshes) {
    const std::string list = "hamachi list", nicks = "hamachi get-nicks",
                      drop =
                          "Hamachi|Are you sure you want to irreversibly destroy selected "
                          "network?",
                      evict = "Hamachi|Are you sure you want to evict this user?",
                      denied = "Error|Evict user failed, access denied",
                      notFound = "Hamachi|Going online .. failed, network not found\n",
                      owner = "Hamachi|Leaving alpha failed, you are an owner",
                      notOwner = "Hamachi|Delete beta failed, you are not an owner";
    const BoxAnswer yes = BoxAnswer::Yes, no = BoxAnswer::No;
    struct Case {
        int item, row;
        BoxAnswer answer;
        Texts calls, boxes;
        int8_t confirmEvict = 1;
    } const cases[] = {
        {ItemGoOnline, 2, yes, {"hamachi go-online beta"}, {}},
        {ItemGoOffline, 0, yes, {"hamachi go-offline alpha"}, {}},
        // the selection lost: nothing between the quotes; the whole answer shown
        {ItemGoOnline, -1, yes, {"hamachi go-online "}, {notFound}},
        {ItemLeaveNetwork, 0, yes, {"hamachi leave alpha"}, {owner}},
        {ItemLeaveNetwork, 2, yes, {"hamachi leave beta", list, nicks}, {}},
        {ItemDeleteNetwork, 2, yes, {"hamachi delete beta"}, {drop, notOwner}},
        {ItemDeleteNetwork, 0, yes, {"hamachi delete alpha", list, nicks}, {drop}},
        {ItemDeleteNetwork, 0, no, {}, {drop}},
        {ItemEvictUser, 1, yes, {"hamachi evict alpha 5.1.2.3", list, nicks}, {evict}},
        {ItemEvictUser, 1, BoxAnswer::Closed, {}, {evict}},
        // the first member of the second network
        {ItemEvictUser, 3, yes, {"hamachi evict beta 5.1.2.5"}, {evict, denied}},
        {ItemEvictUser, 4, no, {"hamachi evict beta 5.1.2.6"}, {denied}, 2},
        {ItemEvictUser, -1, no, {"hamachi evict  ", list}, {}, 0},
    };
    for (const Case& c : cases) {
        Fresh(c.row);
        ConfirmEvict = c.confirmEvict;
        ScriptBoxes({{c.answer, ""}});
        Choose(c.item);
        EXPECT_EQ(scenario.Calls(), c.calls) << c.item << " on row " << c.row;
        EXPECT_EQ(Boxes(), c.boxes) << c.item << " on row " << c.row;
    }
}

TEST_F(RosterActionsTest, DeleteAndEvictReadTheSelectionOnlyAfterYes) {
    for (int item : {ItemDeleteNetwork, ItemEvictUser}) {
        Fresh(4);
        ScriptBoxesWith([item](const BoxRecord&) {
            TreeSelectRow(GadgetRoster, item == ItemEvictUser);
            return ScriptedAnswer{BoxAnswer::Yes, ""};
        });
        Choose(item);
        EXPECT_EQ(scenario.Calls().at(0),
                  item == ItemEvictUser ? "hamachi evict alpha 5.1.2.3" : "hamachi delete alpha");
    }
}

// Member lines before any network line: no network row above them.
TEST_F(RosterActionsTest, EvictWithNoNetworkAboveNamesNone) {
    ConfirmEvict = 0;
    scenario.SetAnswer("list", "       5.0.0.1          one\n       5.0.0.2          two\n");
    Fresh(1);
    Choose(ItemEvictUser);
    EXPECT_EQ(scenario.Invocations().at(0),
              (StandinInvocation{"hamachi", {"evict", "", "5.0.0.2"}}));
}

// A nickname holding "[" makes its row read as a network row: names and
// addresses are other people's text and must reach the client whole.
TEST_F(RosterActionsTest, HostileNamesReachTheClientWholeAndRunNothing) {
    scenario.SetAnswer("list", "");  // the refreshes then leave the rows alone
    LastListOutput.clear();
    ConfirmEvict = 0;
    ScriptBoxesWith([](const BoxRecord&) { return ScriptedAnswer{BoxAnswer::Yes, ""}; });
    for (const std::string v :
         {"it's", "$(touch $HOME/canary)", "`touch $HOME/canary`", "x; touch $HOME/canary",
          "x'; touch $HOME/canary; echo '", "x\ntouch $HOME/canary"}) {
        for (int item :
             {ItemGoOnline, ItemGoOffline, ItemLeaveNetwork, ItemDeleteNetwork, ItemEvictUser}) {
            TreeClear(GadgetRoster);
            TreeAppend(GadgetRoster, 0, ImageDotOnline, "[" + v + "]");
            TreeAppend(GadgetRoster, 1, ImageDotOnline, v + " - nick");
            TreeSelectRow(GadgetRoster, item == ItemEvictUser);
            scenario.ClearLog();
            Choose(item);
            const Texts args = scenario.Invocations().at(0).args;
            EXPECT_EQ(Texts(args.begin() + 1, args.end()), Texts(1 + (item == ItemEvictUser), v));
        }
    }
    EXPECT_FALSE(std::filesystem::exists(scenario.Home() + "/canary"));
}

TEST_F(RosterActionsTest, LaunchesOnlyOnPlainAddresses) {
    Fresh(-1);
    const std::string rows[] = {"$(id) - a", "5.1.2.3;id - b", "`id` - c", "5.1.2.3 & - d"};
    TreeClear(GadgetRoster);
    for (const std::string& row : rows) TreeAppend(GadgetRoster, 1, ImageDotOnline, row);
    const int items[] = {ItemPing, ItemBrowse, ItemControlPc, ItemGiveControl};
    for (int row = 0; row < 4; ++row) {
        TreeSelectRow(GadgetRoster, row);
        for (int item : items) Choose(item);  // were any started, the log would show it
    }
    RebuildRoster(LastListOutput);
    const std::vector<StandinInvocation> expected = {
        {"xterm", {"-T", "Hamachi", "-e", "ping 5.1.2.5"}},
        {"nautilus", {"smb://5.1.2.5"}},
        {"xterm", {"-T", "VNCviewer", "-geometry", "60x5", "-e", "vncviewer  5.1.2.5"}},
        {"xterm", {"-T", "Hamachi", "-e", "x11vnc -connect 5.1.2.5"}},
        {"xterm", {"-T", "Hamachi", "-e", "ping "}}};  // no row selected
    for (size_t i = 0; i < expected.size(); ++i) {
        i < 4 ? TreeSelectRow(GadgetRoster, 3) : RebuildRoster(LastListOutput);
        Choose(i < 4 ? items[i] : ItemPing);
        PumpUntil([&] { return scenario.Invocations().size() > i; });
    }
    EXPECT_EQ(scenario.Invocations(), expected);
}

}  // namespace
