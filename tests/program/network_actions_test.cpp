#include <filesystem>

#include "app/event_loop.h"
#include "client/roster.h"
#include "common/identifiers.h"
#include "program_test.h"
#include "settings/options_file.h"

namespace {

using Calls = std::vector<std::string>;
const std::string DeleteQuestion =
    "Hamachi|Are you sure you want to irreversibly destroy selected network?";

// Rows: 0 [alpha] (owned), 1 bob, 2 [beta] (not owned), 3 dan.
class NetworkActionsTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        RunningClient(true);
        OpenMainLoggedIn();
    }

    void Fresh(int row) {
        scenario.ClearNetworks();
        scenario.AddNetwork("alpha", true, true);
        scenario.AddMember("5.1.2.3", "bob", StandinMark::Online);
        scenario.AddNetwork("beta", false, false);
        scenario.AddMember("5.1.2.5", "dan", StandinMark::Offline);
        LastListOutput.clear();
        RefreshRoster();
        TreeSelectRow(GadgetRoster, row);
        scenario.ClearLog();
    }

    void Choose(int item) { Dispatch(ProgramEvent{EventMenu, item, 0, 0}); }
};

TEST_F(NetworkActionsTest, CommandsMessagesAndRefreshes) {
    const Calls refresh = {"hamachi list", "hamachi get-nicks"};
    struct Case {
        int item, row;
        BoxAnswer answer;
        Calls calls, boxes;
    } const cases[] = {
        {ItemGoOnline, 2, BoxAnswer::Yes, {"hamachi go-online beta"}, {}},
        {ItemGoOffline, 0, BoxAnswer::Yes, {"hamachi go-offline alpha"}, {}},
        // the selection lost: nothing between the quotes; the whole answer shown
        {ItemGoOnline, -1, BoxAnswer::Yes, {"hamachi go-online "},
         {"Hamachi|Going online .. failed, network not found\n"}},
        {ItemLeaveNetwork, 0, BoxAnswer::Yes, {"hamachi leave alpha"},
         {"Hamachi|Leaving alpha failed, you are an owner"}},
        {ItemLeaveNetwork, 2, BoxAnswer::Yes, {"hamachi leave beta", refresh[0], refresh[1]}, {}},
        {ItemDeleteNetwork, 2, BoxAnswer::Yes, {"hamachi delete beta"},
         {DeleteQuestion, "Hamachi|Delete beta failed, you are not an owner"}},
        {ItemDeleteNetwork, 0, BoxAnswer::Yes, {"hamachi delete alpha", refresh[0], refresh[1]},
         {DeleteQuestion}},
        {ItemDeleteNetwork, 0, BoxAnswer::No, {}, {DeleteQuestion}},
        {ItemDeleteNetwork, 0, BoxAnswer::Closed, {}, {DeleteQuestion}},
    };
    for (const Case& c : cases) {
        Fresh(c.row);
        ScriptBoxes({{c.answer, ""}});
        Choose(c.item);
        const std::string label = std::to_string(c.item) + " on row " + std::to_string(c.row);
        EXPECT_EQ(scenario.Calls(), c.calls) << label;
        EXPECT_EQ(Boxes(), c.boxes) << label;
    }
    Fresh(0);
    ScriptBoxes({});
    scenario.SetAnswer("go-online", "Going online\nin [alpha] .. failed\n");
    Choose(ItemGoOnline);
    EXPECT_EQ(Boxes(), Calls{"Hamachi|Going online\nin [alpha] .. failed\n"});
}

TEST_F(NetworkActionsTest, DeleteReadsTheSelectionOnlyAfterTheAnswer) {
    Fresh(1);
    ScriptBoxesWith([](const BoxRecord&) {
        TreeSelectRow(GadgetRoster, 0);
        return ScriptedAnswer{BoxAnswer::Yes, ""};
    });
    Choose(ItemDeleteNetwork);
    EXPECT_EQ(scenario.Calls().at(0), "hamachi delete alpha");
}

// Nicknames are other people's: one holding "[" makes a member row read as a
// network row, and every value must reach the client whole and run nothing.
TEST_F(NetworkActionsTest, HostileNamesReachTheClientAsOneArgument) {
    const std::string values[] = {"it's",
                                  "$(touch $HOME/canary)",
                                  "`touch $HOME/canary`",
                                  "x; touch $HOME/canary",
                                  "x'; touch $HOME/canary; echo '",
                                  "x\ntouch $HOME/canary"};
    const std::pair<int, const char*> commands[] = {{ItemGoOnline, "go-online"},
                                                    {ItemGoOffline, "go-offline"},
                                                    {ItemLeaveNetwork, "leave"},
                                                    {ItemDeleteNetwork, "delete"},
                                                    {ItemEvictUser, "evict"}};
    scenario.SetAnswer("list", "");  // the refreshes then leave the rows alone
    LastListOutput.clear();
    ConfirmEvict = 0;
    ScriptBoxesWith([](const BoxRecord&) { return ScriptedAnswer{BoxAnswer::Yes, ""}; });
    for (const std::string& v : values) {
        std::vector<StandinInvocation> expected;
        for (const auto& [item, command] : commands) {
            TreeClear(GadgetRoster);
            TreeAppend(GadgetRoster, 0, ImageDotOnline, "[" + v + "]");
            TreeAppend(GadgetRoster, 1, ImageDotOnline, v + " - " + v);
            const bool evict = item == ItemEvictUser;
            TreeSelectRow(GadgetRoster, evict ? 1 : 0);
            Choose(item);
            expected.push_back({"hamachi", {command, v}});
            if (evict) expected.back().args.push_back(v);
        }
        std::vector<StandinInvocation> seen = scenario.Invocations();
        std::erase(seen, StandinInvocation{"hamachi", {"list"}});
        EXPECT_EQ(seen, expected) << v;
        scenario.ClearLog();
    }
    EXPECT_FALSE(std::filesystem::exists(scenario.Home() + "/canary"));
}

}  // namespace
