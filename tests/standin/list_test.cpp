#include <fstream>

#include "standin_test_util.h"

namespace {

class StandinList : public ::testing::Test {
  protected:
    void SetUp() override {
        scenario.Configure("5.3.2.1", "me");
        scenario.SetRunning(true);
        scenario.SetLoggedIn(true);
    }
    StandinScenario scenario;
};

// The front-end reads the address from characters 8-23 and the nickname from
// 25-49; "*" anywhere means online, else " X " crossed.
TEST_F(StandinList, ExactLayout) {
    scenario.AddNetwork("club", true, true, "secret");
    scenario.AddMember("5.1.2.3", "alice", StandinMark::Online);
    scenario.AddMember("255.255.255.255", "exactly-twenty-five-chars", StandinMark::Crossed);
    scenario.AddMember("5.9.9.9", "nick  with blanks ", StandinMark::Offline);
    scenario.AddMember("5.9.9.8", "X", StandinMark::Offline);
    scenario.AddNetwork("quiet", false, false);
    scenario.AddMember("5.123.123.123.99", "a-nickname-longer-than-its-column",
                       StandinMark::Online);
    scenario.AddNetwork("hidden", true, false, "pw", true);
    scenario.AddMember("5.5.5.5", "eve", StandinMark::Online);

    EXPECT_EQ(scenario.RunShell("hamachi list"),
              " * [club]\n"
              "    *  5.1.2.3          alice\n"
              "    X  255.255.255.255  exactly-twenty-five-chars\n"
              "       5.9.9.9          nick  with blanks\n"
              "       5.9.9.8          X\n"
              "   [quiet]\n"
              "    *  5.123.123.123.99 a-nickname-longer-than-its-column\n");
}

TEST_F(StandinList, HandWrittenFileWithCommentsAndShortLines) {
    std::ofstream(scenario.ConfigDir() + "networks")
        << "# kept by hand\n\n"
        << "member\t5.0.0.9\torphan\tonline\n"  // before any network: ignored
        << "network\tshort\tonline\n"           // no password field at all
        << "# between\n"
        << "member\t5.0.0.1\tann\tonline\r\n"
        << "member\t5.0.0.2\tben\n";  // no state: offline
    EXPECT_EQ(scenario.RunShell("hamachi list"),
              " * [short]\n"
              "    *  5.0.0.1          ann\n"
              "       5.0.0.2          ben\n");
}

// Any stdout line would become a roster row.
TEST_F(StandinList, PrintsNothingUnlessRunningAndLoggedIn) {
    scenario.AddNetwork("net", true, true);
    scenario.AddMember("5.0.0.1", "a", StandinMark::Online);
    struct State {
        bool configured;
        bool running;
        bool loggedIn;
    };
    for (const State& state :
         {State{true, true, false}, State{true, false, true}, State{false, false, false}}) {
        scenario.SetRunning(state.running);
        scenario.SetLoggedIn(state.loggedIn);
        if (!state.configured) scenario.Unconfigure();
        EXPECT_EQ(scenario.RunShell("hamachi list 2>/dev/null"), "")
            << state.configured << state.running << state.loggedIn;
    }
}

}  // namespace
