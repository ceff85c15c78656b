// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "client/shell.h"
#include "common/read_file.h"
#include "common/text.h"
#include "standin_scenario.h"

namespace {

const std::string kState = "Identity   5.3.2.1\nNickname   me\n";  // as configured
// club: owned; guests: joined; lounge: not online.
const std::string kNetworks =
    "network\tclub\tonline,owner\tsecret\nmember\t5.0.0.2\tbob\toffline\n"
    "network\tguests\tonline\t\nmember\t5.0.0.3\tcarol\tcrossed\n"
    "network\tlounge\t\t\n";

struct Case {
    const char* state;    // "none" (not configured), "stopped", "out" or "in" (logged in)
    const char* command;  // after "hamachi "
    const char* said;     // a phrase of the output; "": no output at all
    int exitCode;
    const char *from = "", *to = "";  // the change to the networks file
};

// Answers, refusals that change nothing and read as no success, and names that would break
// the stand-in's files.
TEST(StandinCommands, AnswerChangeAndRefuse) {
    // clang-format off
    const Case cases[] = {
        {"in", "go-online lounge", "Going online in [lounge] .. ok", 0, "lounge\t\t", "lounge\tonline\t"},
        {"in", "leave club", "Leaving [club] .. failed, you are an owner", 1},
        {"in", "evict guests 5.0.0.3", "Evicting 5.0.0.3 .. failed, access denied", 1},
        {"in", "create 'a\nnetwork\tevil\towner\t' x", "failed, invalid name", 1},
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
            scenario.Write("networks", kNetworks);
            scenario.Mark("running", state != "stopped");
            scenario.Mark("logged-in", state == "in");
        }
        const std::string tail = "[" + std::to_string(c.exitCode) + "]\n";
        const std::string out =
            ShellRunner().Run("hamachi " + std::string(c.command) + " 2>/dev/null; echo [$?]").text;
        EXPECT_TRUE(out.ends_with(tail)) << out;
        EXPECT_EQ(out == tail, !*c.said) << out;
        EXPECT_TRUE(Contains(out, c.said)) << out;
        EXPECT_EQ(Contains(out, "ok"), c.exitCode == 0) << out;
        std::string files = kState + kNetworks;
        files.replace(files.find(c.from), std::string(c.from).size(), c.to);
        const auto read = [&](const char* name) {
            return ReadWholeFile(scenario.ConfigDir() + name).value_or("");
        };
        EXPECT_EQ(read("state") + read("networks"), state == "none" ? "" : files);
    }
}

}  // namespace
