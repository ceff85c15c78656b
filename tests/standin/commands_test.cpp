// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "common/read_file.h"
#include "common/text.h"
#include "standin_scenario.h"

namespace {

const std::string kState = "Identity   5.3.2.1\nNickname   me\nOther      x\n";
// club: owned, with bob; guests: joined; lounge: not online; hidden: away.
const std::string kNetworks =
    "network\tclub\tonline,owner\tsecret\nmember\t5.0.0.2\tbob\toffline\n"
    "network\tguests\tonline\t\nmember\t5.0.0.3\tcarol\tcrossed\n"
    "network\tlounge\t\t\nnetwork\thidden\taway\tletmein\n";

struct Case {
    const char* state;    // "none" (not configured), "stopped", "out" or "in" (logged in)
    const char* command;  // after "hamachi "
    const char* said;     // a phrase of the output; "": no output at all
    int exitCode;
    const char *from = "", *to = "";  // the change to the state and networks files
};

// What the front-end meets: answers, refusals that change nothing and read as
// no success, and names that would break the stand-in's files.
TEST(StandinCommands, AnswerChangeAndRefuse) {
    // clang-format off
    const Case cases[] = {
        {"in", "go-online lounge", "Going online in [lounge] .. ok", 0, "lounge\t\t", "lounge\tonline\t"},
        {"in", "go-online hidden", "failed, network not found", 1},
        {"in", "leave club", "Leaving [club] .. failed, you are an owner", 1},
        {"in", "delete guests", "Deleting [guests] .. failed, you are not an owner", 1},
        {"in", "evict club 5.0.0.2", "Evicting 5.0.0.2 .. ok", 0, "member\t5.0.0.2\tbob\toffline\n", ""},
        {"in", "evict guests 5.0.0.3", "Evicting 5.0.0.3 .. failed, access denied", 1},
        {"in", "join hidden letmeout", "Joining [hidden] .. failed, invalid password", 1},
        {"in", "create 'a\nnetwork\tevil\towner\t' x", "failed, invalid name", 1},
        {"out", "set-nick 'new nick'", "Setting nickname .. ok", 0, "me\n", "new nick\n"},
        {"out", "set-nick 'x\nIdentity   6.6.6.6'", "Setting nickname .. failed, invalid name", 1},
        {"out", "list", "", 1},  // each line printed would become a roster row
        {"out", "leave guests", "log in first", 1},
        {"stopped", "login", "does not seem to be running", 1},
        {"none", "go-online lounge", "Cannot find configuration directory", 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " when " + c.state);
        StandinScenario scenario;
        const std::string state = c.state;
        if (state != "none") {
            scenario.Configure("5.3.2.1", "me");
            scenario.Write("state", kState);
            scenario.Write("networks", kNetworks);
            scenario.Mark("running", state != "stopped");
            scenario.Mark("logged-in", state == "in");
        }
        int exitCode = -1;
        const std::string out =
            scenario.RunShell("hamachi " + std::string(c.command) + " 2>/dev/null", &exitCode);
        EXPECT_EQ(out.empty(), !*c.said) << out;
        EXPECT_TRUE(Contains(out, c.said)) << out;
        EXPECT_EQ(Contains(out, "ok"), exitCode == 0) << out;
        EXPECT_EQ(exitCode, c.exitCode);
        std::string files = kState + kNetworks;
        files.replace(files.find(c.from), std::string(c.from).size(), c.to);
        const auto read = [&](const char* name) {
            return ReadWholeFile(scenario.ConfigDir() + name).value_or("");
        };
        EXPECT_EQ(read("state") + read("networks"), state == "none" ? "" : files);
    }
}

}  // namespace
