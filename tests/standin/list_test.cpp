#include "standin_test_util.h"

namespace {

// The front-end reads the address from characters 8-23 and the nickname from
// 25-49; "*" anywhere means online, else " X " crossed. Away networks are not
// joined, so not listed.
TEST(StandinList, ExactLayout) {
    StandinScenario scenario;
    PutInState(scenario, "in");
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

}  // namespace
