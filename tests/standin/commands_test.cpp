#include <filesystem>
#include <fstream>

#include "standin_test_util.h"

namespace {

const std::string kClub =
    "network\tclub\tonline,owner\tsecret\n"
    "member\t5.0.0.1\talice\tonline\n"
    "member\t5.0.0.2\tbob\toffline\n";
const std::string kGuests = "network\tguests\tonline\t\nmember\t5.0.0.3\tcarol\tcrossed\n";
const std::string kLounge = "network\tlounge\t\t\n";
const std::string kHidden = "network\thidden\taway\tletmein\n";
const std::string kBase = kClub + kGuests + kLounge + kHidden;

// club: owned; guests: joined; lounge: joined, not online; hidden: away.
void Prepare(StandinScenario& scenario, bool running, bool loggedIn) {
    scenario.Configure("5.3.2.1", "me");
    scenario.SetRunning(running);
    scenario.SetLoggedIn(loggedIn);
    scenario.AddNetwork("club", true, true, "secret");
    scenario.AddMember("5.0.0.1", "alice", StandinMark::Online);
    scenario.AddMember("5.0.0.2", "bob", StandinMark::Offline);
    scenario.AddNetwork("guests", true, false);
    scenario.AddMember("5.0.0.3", "carol", StandinMark::Crossed);
    scenario.AddNetwork("lounge", false, false);
    scenario.AddNetwork("hidden", false, false, "letmein", true);
    ASSERT_EQ(scenario.ReadConfigFile("networks"), kBase);
}

std::string Edit(const std::string& from, const std::string& to) {
    std::string text = kBase;
    return text.replace(text.find(from), from.size(), to);
}

struct NetworkCase {
    std::vector<std::string> args;
    std::string expect;  // phrases joined by '|'
    std::string reject;  // phrases joined by '|'
    std::string after;   // the networks file afterwards
};

TEST(StandinCommands, NetworkCommandsWhenLoggedIn) {
    // clang-format off
    const std::vector<NetworkCase> cases = {
        {{"go-online", "lounge"}, "Going online in [lounge] .. ok", "", Edit("lounge\t\t", "lounge\tonline\t")},
        {{"go-offline", "club"}, ".. ok", "", Edit("club\tonline,owner", "club\towner")},
        {{"go-online", "nowhere"}, "failed", "ok", kBase},
        {{"go-offline", "hidden"}, "failed", "ok", kBase},
        {{"leave", "guests"}, "Leaving [guests] .. ok", "", kClub + kLounge + kHidden},
        {{"leave", "club"}, "Leaving [club] .. failed, you are an owner", "ok", kBase},
        {{"leave", "nowhere"}, "failed", "owner|ok", kBase},
        {{"leave", "hidden"}, "failed", "owner|ok", kBase},
        {{"delete", "club"}, "Deleting [club] .. ok", "", kGuests + kLounge + kHidden},
        {{"delete", "guests"}, "Deleting [guests] .. failed, you are not an owner", "ok", kBase},
        {{"evict", "club", "5.0.0.2"}, "Evicting 5.0.0.2 .. ok", "", Edit("member\t5.0.0.2\tbob\toffline\n", "")},
        {{"evict", "guests", "5.0.0.3"}, "Evicting 5.0.0.3 .. failed, access denied", "ok", kBase},
        {{"evict", "club", "5.0.0.3"}, "failed", "denied|ok", kBase},
        {{"evict", "nowhere", "5.0.0.1"}, "failed", "denied|ok", kBase},
        {{"create", "new net", "pass word"}, "Creating [new net] .. ok", "", kBase + "network\tnew net\tonline,owner\tpass word\n"},
        {{"create", "guests", "x"}, "Creating [guests] .. failed, network name is already taken", "ok", kBase},
        {{"create", "hidden", "x"}, "Creating [hidden] .. failed, network name is already taken", "ok", kBase},
        {{"join", "hidden", "letmein"}, "Joining [hidden] .. ok", "", Edit("hidden\taway\t", "hidden\t\t")},
        {{"join", "hidden", "letmeout"}, "Joining [hidden] .. failed, invalid password", "ok", kBase},
        {{"join", "club", "secret"}, "failed", "invalid password|ok", kBase},
        {{"join", "nowhere", "x"}, "failed, network not found", "ok", kBase},
        // Empty names cannot be shown; tab, CR and LF would break the file's lines.
        {{"create", "", "x"}, "failed, invalid name", "ok", kBase},
        {{"create", "a\nnetwork\tevil\towner\t", "x"}, "failed, invalid name", "ok", kBase},
        {{"create", "fine", "pw\r"}, "failed, invalid name", "ok", kBase},
        {{"evict", "club", "5.0.0.1\n"}, "failed, invalid name", "ok", kBase},
        {{"get-nicks"}, "", "", kBase},
        {{"frobnicate"}, "usage", "", kBase},
        {{"leave", "guests", "now"}, "usage", "", kBase},
        {{"list", "all"}, "usage", "", kBase},
    };
    // clang-format on
    for (const NetworkCase& c : cases) {
        const std::string line = CommandLine("hamachi", c.args);
        SCOPED_TRACE(line);
        StandinScenario scenario;
        Prepare(scenario, true, true);

        const StandinShellResult result = scenario.RunShellResult(line);
        ExpectPhrases(result.out, Phrases(c.expect), Phrases(c.reject));
        if (c.expect.empty()) {
            EXPECT_EQ(result.out, "");
        }
        const bool success = result.out.empty() || Contains(result.out, ".. ok");
        EXPECT_EQ(result.exitCode, success ? 0 : 1);
        EXPECT_EQ(scenario.ReadConfigFile("networks"), c.after);
    }
}

TEST(StandinCommands, RewritesKeepUnrelatedLinesOfHandWrittenFiles) {
    StandinScenario scenario;
    scenario.Configure("5.3.2.1", "me");
    scenario.SetRunning(true);
    scenario.SetLoggedIn(true);
    std::ofstream(scenario.ConfigDir() + "networks")
        << "# mine\n\nnetwork\tclub\tvip, owner,online\tsecret\textra\n"
        << "member\t5.0.0.1\talice\tonline\tmore\nnetwork\tshort\taway\n";

    scenario.RunShell("hamachi go-offline club; hamachi join short ''");
    EXPECT_EQ(scenario.ReadConfigFile("networks"),
              "# mine\n\nnetwork\tclub\towner,vip\tsecret\textra\n"
              "member\t5.0.0.1\talice\tonline\tmore\nnetwork\tshort\t\n");
    for (const auto& entry : std::filesystem::directory_iterator(scenario.ConfigDir())) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos);
    }
}

struct SessionCase {
    std::string command;
    bool running;
    bool loggedIn;
    std::string expect;
    std::string reject;
    bool runningAfter;
    bool loggedInAfter;
};

TEST(StandinCommands, SessionCommands) {
    const std::string stopped = "does not seem to be running";
    // clang-format off
    const std::vector<SessionCase> cases = {
        {"start", false, false, ".. ok", "", true, false},
        {"start", true, true, "", "", true, true},
        {"stop", true, true, "Shutting down .. ok", "", false, false},
        {"stop", false, false, stopped, "ok", false, false},
        {"login", true, false, "Logging in .. ok", "", true, true},
        {"login", true, true, "logged in", "", true, true},
        {"login", false, false, stopped, "ok|logged in", false, false},
        {"logout", true, true, "Logging out .. ok", "", true, false},
        {"logout", true, false, "", ".. ok", true, false},
        {"logout", false, false, stopped, ".. ok", false, false},
        {"get-nicks", false, false, stopped, "", false, false},
        {"set-nick x", false, false, stopped, "ok", false, false},
    };
    // clang-format on
    for (const SessionCase& c : cases) {
        SCOPED_TRACE(c.command + (c.running ? " running" : "") + (c.loggedIn ? " logged in" : ""));
        StandinScenario scenario;
        scenario.Configure("5.3.2.1", "me");
        scenario.SetRunning(c.running);
        scenario.SetLoggedIn(c.loggedIn);

        ExpectPhrases(scenario.RunShell("hamachi " + c.command), Phrases(c.expect),
                      Phrases(c.reject));
        // The probe agrees with what the command did.
        const std::string probe = scenario.RunShell("hamachi");
        EXPECT_EQ(Contains(probe, ": logged in"), c.loggedInAfter) << probe;
        EXPECT_EQ(Contains(probe, stopped), !c.runningAfter) << probe;
    }
}

// Without the folder, a running client or a login, nothing changes and
// nothing reads as success.
TEST(StandinCommands, RefusalsChangeNothing) {
    const std::vector<std::vector<std::string>> needLogin = {
        {"go-online", "lounge"},       {"go-offline", "club"},
        {"leave", "guests"},           {"delete", "club"},
        {"evict", "club", "5.0.0.1"},  {"create", "x", "y"},
        {"join", "hidden", "letmein"},
    };
    std::vector<std::vector<std::string>> all = needLogin;
    all.insert(all.end(),
               {{"start"}, {"stop"}, {"login"}, {"logout"}, {"get-nicks"}, {"set-nick", "x"}});

    for (const char* state : {"unconfigured", "stopped", "logged out"}) {
        const bool configured = state != std::string("unconfigured");
        for (const std::vector<std::string>& args : configured ? needLogin : all) {
            const std::string line = CommandLine("hamachi", args);
            SCOPED_TRACE(line + " when " + state);
            StandinScenario scenario;
            if (configured) Prepare(scenario, state == std::string("logged out"), false);

            const StandinShellResult result = scenario.RunShellResult(line);
            ExpectPhrases(result.out, {}, {"ok", "logged in"});
            if (!configured) ExpectPhrases(result.out, {"Cannot find configuration directory"}, {});
            if (state == std::string("stopped")) {
                ExpectPhrases(result.out, {"does not seem to be running"}, {});
            }
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_EQ(scenario.ReadConfigFile("networks"),
                      configured ? std::optional<std::string>(kBase) : std::nullopt);
        }
    }
}

TEST(StandinCommands, SetNickRewritesOnlyTheNicknameLine) {
    struct NickCase {
        std::string nick;
        std::string before;  // empty: no state file
        std::string after;
        std::string out;
    };
    const std::string ok = "Setting nickname .. ok\n";
    const std::vector<NickCase> cases = {
        {"new nick", "Identity   5.1.2.3\nOther  x\n# odd\nNickname   old\nTrailer    x",
         "Identity   5.1.2.3\nOther  x\n# odd\nNickname   new nick\nTrailer    x", ok},
        {"new nick", "Identity   5.1.2.3", "Identity   5.1.2.3\nNickname   new nick\n", ok},
        {"new nick", "", "Nickname   new nick\n", ok},
        {"evil\nIdentity   6.6.6.6", "Nickname   old\n", "Nickname   old\n",
         "Setting nickname .. failed, invalid name\n"},
    };
    for (const NickCase& c : cases) {
        SCOPED_TRACE(c.before);
        StandinScenario scenario;
        scenario.Configure("5.1.2.3", "old");
        scenario.SetRunning(true);
        std::filesystem::remove(scenario.ConfigDir() + "state");
        if (!c.before.empty()) scenario.WriteState(c.before);

        EXPECT_EQ(scenario.RunShell(CommandLine("hamachi", {"set-nick", c.nick})), c.out);
        EXPECT_EQ(scenario.ReadConfigFile("state"), c.after);
    }
}

}  // namespace
