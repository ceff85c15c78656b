#include "app/event_loop.h"
#include "client/roster.h"
#include "common/identifiers.h"
#include "program_test.h"
#include "settings/options_file.h"

namespace {

using Calls = std::vector<std::string>;
const std::string EvictQuestion = "Hamachi|Are you sure you want to evict this user?";

// A program that records its arguments in the stand-in's log, as the
// stand-in itself does.
std::string Recorder(const std::string& name) {
    return "#!/bin/sh\nr=\"" + name +
           "\t$#\n\"\nfor a in \"$@\"; do r=\"$r${#a}\t$a\n\"; done\n"
           "printf %s \"$r\" >> \"$HOME/.hamachi-standin/log\"\n";
}

// Rows: 0 [alpha] (not owned), 1 bob, 2 [beta] (owned), 3 dan, 4 eve.
class MemberActionsTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        RunningClient(true);
        scenario.AddProgram("xterm", Recorder("xterm"));
        scenario.AddProgram("nautilus", Recorder("nautilus"));
        OpenMainLoggedIn();
    }

    void Fresh(int row) {
        scenario.ClearNetworks();
        scenario.AddNetwork("alpha", true, false);
        scenario.AddMember("5.1.2.3", "bob", StandinMark::Online);
        scenario.AddNetwork("beta", true, true);
        scenario.AddMember("5.1.2.5", "dan", StandinMark::Online);
        scenario.AddMember("5.1.2.6", "eve", StandinMark::Online);
        LastListOutput.clear();
        RefreshRoster();
        TreeSelectRow(GadgetRoster, row);
        scenario.ClearLog();
    }

    void Choose(int item) { Dispatch(ProgramEvent{EventMenu, item, 0, 0}); }
};

TEST_F(MemberActionsTest, LaunchesEachProgramWithItsArguments) {
    struct Case {
        int item, row;
        StandinInvocation launched;
    } const cases[] = {
        {ItemPing, 3, {"xterm", {"-T", "Hamachi", "-e", "ping 5.1.2.5"}}},
        {ItemPing, -1, {"xterm", {"-T", "Hamachi", "-e", "ping "}}},
        {ItemBrowse, 3, {"nautilus", {"smb://5.1.2.5"}}},
        {ItemControlPc, 4, {"xterm", {"-T", "VNCviewer", "-geometry", "60x5", "-e",
                                      "vncviewer  5.1.2.6"}}},
        {ItemGiveControl, 1, {"xterm", {"-T", "Hamachi", "-e", "x11vnc -connect 5.1.2.3"}}},
    };
    for (const Case& c : cases) {
        Fresh(c.row);
        Choose(c.item);
        PumpUntil([&] { return !scenario.Invocations().empty(); });
        EXPECT_EQ(scenario.Invocations(), std::vector{c.launched}) << c.item;
    }
}

// The terminal runs its -e argument through a shell.
TEST_F(MemberActionsTest, AddressesOtherThanAddressCharactersStartNothing) {
    for (const char* address : {"$(touch x)", "5.1.2.3;id", "`id`", "5.1.2.3 &"}) {
        TreeClear(GadgetRoster);
        TreeAppend(GadgetRoster, 0, ImageDotOnline, "[alpha]");
        TreeAppend(GadgetRoster, 1, ImageDotOnline, address + std::string(" - bob"));
        TreeAppend(GadgetRoster, 1, ImageDotOnline, "5:a:B - safe");
        TreeSelectRow(GadgetRoster, 1);
        for (int item : {ItemPing, ItemBrowse, ItemControlPc, ItemGiveControl}) Choose(item);
        TreeSelectRow(GadgetRoster, 2);
        Choose(ItemBrowse);  // the one that must come through
        PumpUntil([&] { return !scenario.Invocations().empty(); });
        PumpUntil([] { return false; }, 200);
        EXPECT_EQ(scenario.Calls(), Calls{"nautilus smb://5:a:B"}) << address;
        scenario.ClearLog();
    }
}

TEST_F(MemberActionsTest, EvictAsksWhenConfirmEvictIsOneAndSearchesUpForTheNetwork) {
    struct Case {
        int confirm, row;
        BoxAnswer answer;
        Calls calls, boxes;
    } const cases[] = {
        {1, 3, BoxAnswer::Yes, {"hamachi evict beta 5.1.2.5", "hamachi list", "hamachi get-nicks"},
         {EvictQuestion}},
        {1, 3, BoxAnswer::No, {}, {EvictQuestion}},
        {1, 3, BoxAnswer::Closed, {}, {EvictQuestion}},
        {0, 4, BoxAnswer::No, {"hamachi evict beta 5.1.2.6", "hamachi list", "hamachi get-nicks"},
         {}},
        {2, 4, BoxAnswer::No, {"hamachi evict beta 5.1.2.6", "hamachi list", "hamachi get-nicks"},
         {}},
        {0, 1, BoxAnswer::No, {"hamachi evict alpha 5.1.2.3"},
         {"Error|Evict user failed, access denied"}},
        // nothing selected: empty name and address; the refusal is not "denied"
        {0, -1, BoxAnswer::No, {"hamachi evict  ", "hamachi list"}, {}},
    };
    for (const Case& c : cases) {
        Fresh(c.row);
        ConfirmEvict = int8_t(c.confirm);
        ScriptBoxes({{c.answer, ""}});
        Choose(ItemEvictUser);
        const std::string label = std::to_string(c.confirm) + " row " + std::to_string(c.row);
        EXPECT_EQ(scenario.Calls(), c.calls) << label;
        EXPECT_EQ(Boxes(), c.boxes) << label;
    }
}

// Member lines before any network line: no row above holds a network.
TEST_F(MemberActionsTest, EvictWithNoNetworkAboveNamesNone) {
    ConfirmEvict = 0;
    scenario.SetAnswer("list", "       5.0.0.1          one\n       5.0.0.2          two\n");
    for (int row : {0, 1}) {
        Fresh(row);
        Choose(ItemEvictUser);
        const std::string address = row == 0 ? "5.0.0.1" : "5.0.0.2";
        EXPECT_EQ(scenario.Invocations().at(0),
                  (StandinInvocation{"hamachi", {"evict", "", address}}));
    }
}

}  // namespace
