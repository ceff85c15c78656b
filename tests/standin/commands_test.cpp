// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/text.h"
#include "standin_scenario.h"

namespace {

// A shell command line that hands every argument over unchanged.
std::string CommandLine(const std::string& program, const std::vector<std::string>& args) {
    std::string line = program;
    for (const std::string& arg : args) {
        line += " '";
        for (char c : arg) line += c == '\'' ? std::string("'\\''") : std::string(1, c);
        line += "'";
    }
    return line;
}

// Every '|'-separated phrase of `present` must be in `out`, none of `absent`.
void ExpectPhrases(const std::string& out, const std::string& present, const std::string& absent) {
    for (const auto& [phrases, wanted] : {std::pair{present, true}, std::pair{absent, false}}) {
        std::istringstream parts(phrases);
        for (std::string phrase; std::getline(parts, phrase, '|');) {
            EXPECT_EQ(Contains(out, phrase), wanted) << '"' << phrase << "\" in:\n" << out;
        }
    }
}

// The client's state as the front-end reads it from the probe.
std::string ProbedState(const StandinScenario& scenario) {
    const std::string probe = scenario.RunShell("hamachi");
    return Contains(probe, "Cannot find configuration directory") ? "none"
           : Contains(probe, "does not seem to be running")       ? "stopped"
           : Contains(probe, ": logged in")                       ? "in"
                                                                  : "out";
}

// club: owned; guests: joined; lounge: joined, not online; hidden: away.
const std::string kClub =
    "network\tclub\tonline,owner\tsecret\n"
    "member\t5.0.0.1\talice\tonline\nmember\t5.0.0.2\tbob\toffline\n";
const std::string kGuests = "network\tguests\tonline\t\nmember\t5.0.0.3\tcarol\tcrossed\n";
const std::string kBase = kClub + kGuests + "network\tlounge\t\t\nnetwork\thidden\taway\tletmein\n";

void Prepare(StandinScenario& scenario, const std::string& state) {
    if (state == "none") return;
    scenario.Configure("5.3.2.1", "me");
    scenario.SetRunning(state != "stopped");
    scenario.SetLoggedIn(state == "in");
    std::ofstream(scenario.ConfigDir() + "networks") << kBase;
}

struct CommandCase {
    std::string before;  // as ProbedState names it
    std::vector<std::string> args;
    int needs;  // 0: the configuration, 1: a running client, 2: a login; -1: not checked
    std::string expect, reject;  // '|'-separated phrases; no expect: no output at all
    int exitCode;
    std::string after;
    std::string from = "", to = "";  // the change to the networks file
};

// Each command as wanted, and once more one step short of what it needs,
// where it must change nothing and read as no success.
TEST(StandinCommands, AnswerChangeAndRefuseAsTheyShould) {
    const std::string states[] = {"none", "stopped", "out"};
    const std::string refusals[] = {"Cannot find configuration directory",
                                    "does not seem to be running", "log in first"};
    // clang-format off
    const std::vector<CommandCase> cases = {
        {"in", {"list"}, 2, "[lounge]|carol", "hidden", 0, "in"},
        {"in", {"go-online", "lounge"}, 2, "Going online in [lounge] .. ok", "failed", 0, "in", "lounge\t\t", "lounge\tonline\t"},
        {"in", {"go-online", "hidden"}, 2, "failed, network not found", "ok", 1, "in"},
        {"in", {"leave", "club"}, 2, "Leaving [club] .. failed, you are an owner", "ok", 1, "in"},
        {"in", {"delete", "guests"}, 2, "Deleting [guests] .. failed, you are not an owner", "ok", 1, "in"},
        {"in", {"evict", "club", "5.0.0.2"}, 2, "Evicting 5.0.0.2 .. ok", "failed", 0, "in", "member\t5.0.0.2\tbob\toffline\n", ""},
        {"in", {"evict", "guests", "5.0.0.3"}, 2, "Evicting 5.0.0.3 .. failed, access denied", "ok", 1, "in"},
        {"in", {"create", "hidden", "x"}, 2, "Creating [hidden] .. failed, network name is already taken", "ok", 1, "in"},
        // Empty names cannot be shown; tab, CR and LF would break the file's lines.
        {"in", {"create", "a\nnetwork\tevil\towner\t", "x"}, 2, "failed, invalid name", "ok", 1, "in"},
        {"in", {"join", "hidden", "letmein"}, 2, "Joining [hidden] .. ok", "failed", 0, "in", "hidden\taway\t", "hidden\t\t"},
        {"in", {"join", "hidden", "letmeout"}, 2, "Joining [hidden] .. failed, invalid password", "ok", 1, "in"},
        {"out", {"login"}, 1, "Logging in .. ok", "failed", 0, "in"},
        {"out", {"logout"}, 1, "failed", "ok", 1, "out"},
    };
    // clang-format on
    for (const CommandCase& c : cases) {
        const std::string line = CommandLine("hamachi", c.args);
        for (const bool wanted : {true, false}) {
            if (!wanted && c.needs < 0) continue;
            const std::string before = wanted ? c.before : states[c.needs];
            SCOPED_TRACE(line + " when " + before);
            StandinScenario scenario;
            Prepare(scenario, before);

            int exitCode = -1;
            const std::string out = scenario.RunShell(line + " 2>/dev/null", &exitCode);
            // A refused list prints nothing: every stdout line would become a roster row.
            const bool silent = wanted ? c.expect.empty() : c.args[0] == "list";
            EXPECT_EQ(out.empty(), silent) << out;
            const std::string present = wanted ? c.expect : silent ? "" : refusals[c.needs];
            ExpectPhrases(out, present, wanted ? c.reject : "ok|logged in");
            EXPECT_EQ(exitCode, wanted ? c.exitCode : 1);
            EXPECT_EQ(ProbedState(scenario), wanted ? c.after : before);
            std::string networks = kBase;
            if (wanted) networks.replace(networks.find(c.from), c.from.size(), c.to);
            EXPECT_EQ(scenario.ReadConfigFile("networks"),
                      before == "none" ? std::nullopt : std::optional(networks));
        }
    }
}

TEST(StandinCommands, SetNickRewritesOnlyTheNicknameLine) {
    StandinScenario scenario;
    Prepare(scenario, "out");
    scenario.WriteState("Identity   5.1.2.3\nNickname   old\nOther      x\n");
    EXPECT_EQ(scenario.RunShell("hamachi set-nick 'new nick'"), "Setting nickname .. ok\n");
    const std::string after = "Identity   5.1.2.3\nNickname   new nick\nOther      x\n";
    EXPECT_EQ(scenario.ReadConfigFile("state"), after);
    // A line feed would smuggle in another key.
    EXPECT_EQ(scenario.RunShell(CommandLine("hamachi", {"set-nick", "x\nIdentity   6.6.6.6"})),
              "Setting nickname .. failed, invalid name\n");
    EXPECT_EQ(scenario.ReadConfigFile("state"), after);
}

}  // namespace
