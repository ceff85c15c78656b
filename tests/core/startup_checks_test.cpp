// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/startup_checks.h"

#include <fstream>

#include "client/client_state.h"
#include "core_test.h"
#include "standin_scenario.h"

namespace {

using Texts = std::vector<std::string>;
const std::string Ps = "ps -A |grep tuncfg";

class StartupChecksTest : public CoreTest {
  protected:
    // "ps" finds tuncfg from its `n`th look on (0: never).
    void TuncfgFoundFrom(int n) {
        runner.answerer = [this, n, looks = 0](const std::string& line) mutable -> CommandOutput {
            if (line != Ps) return {answers[line], true};
            return {++looks >= n && n > 0 ? "  7 ?  00:00:00 tuncfg\n" : "", true};
        };
    }
    std::map<std::string, std::string> answers;
    StandinScenario scenario;  // the stand-in client on PATH
};

TEST_F(StartupChecksTest, TuncfgFoundStartedOrAskedFor) {
    struct Case {
        const char* user;
        int foundFrom;
        Check::Result first, afterYes;
        std::vector<int> pauses;
    };
    const Case cases[] = {
        {"tester", 1, Check::Passed, Check::Passed, {}},
        {"root", 2, Check::Passed, Check::Passed, {1500, 100}},  // started without a question
        {"root", 0, Check::Failed, Check::Failed, {1500, 100}},
        {"tester", 2, Check::Ask, Check::Passed, {1000, 1500, 100}},
        {"tester", 0, Check::Ask, Check::Failed, {1000, 1500, 100}},
    };
    scenario.AddProgram("xterm", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$HOME/xterm-args\"\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.user) + " " + std::to_string(c.foundFrom));
        Client.CurrentUser = c.user;
        TuncfgFoundFrom(c.foundFrom);
        clock.pauses.clear();
        Check check = CheckTuncfg();
        EXPECT_EQ(check.result, c.first);
        if (check.result == Check::Ask) {
            EXPECT_EQ(check.title + "|" + check.text,
                      "Hamachi|Hamachi needs a TAP/TUN device driver to operate.\n\n"
                      "Do you want to try load 'tuncfg' with 'sudo'?");
            check = LoadTuncfgWithSudo();
            EXPECT_EQ(check.result, c.afterYes);
            std::ifstream args(scenario.Home() + "/xterm-args");
            std::string all((std::istreambuf_iterator<char>(args)), {});
            EXPECT_EQ(all, "-T\nsudo_tuncfg\n-geometry\n40x5\n-e\nsudo\ntuncfg\n");
        }
        if (check.result == Check::Failed) {
            EXPECT_EQ(check.title + "|" + check.text, "Error|TAP/TUN not found.");
        }
        EXPECT_EQ(clock.pauses, c.pauses);
    }
}

// The client's absence shows in its answer, on PATH, or in a probe that
// cannot run at all.
TEST_F(StartupChecksTest, ClientPresentAndConfigured) {
    const std::string missing = "Hamachi Error|Hamachi is not loaded or not in the path...\n\n"
                                "Download Hamachi at: " + std::string(ClientDownloadAddress);
    runner.Answer("hamachi", "hamachi: command not found\n");
    EXPECT_EQ(CheckClientPresent().title + "|" + CheckClientPresent().text, missing);
    runner.CannotRun("hamachi");
    EXPECT_EQ(CheckClientPresent().result, Check::Failed);
    runner.Answer("hamachi", "Cannot find configuration directory /x\n");
    EXPECT_EQ(CheckClientPresent().result, Check::Passed);
    setenv("PATH", "/usr/bin:/bin", 1);
    EXPECT_EQ(CheckClientPresent().result, Check::Failed);

    for (const char* user : {"tester", "root"}) {
        Client.CurrentUser = user;
        const Check ask = CheckClientConfigured();
        const std::string question = "Do you want to create a new Hamachi configuration?";
        EXPECT_EQ(ask.text, Client.CurrentUser == "root" ? question
                                                         : "Cannot find the hamachi configuration "
                                                           "directory.  Either Hamachi was\nstarted "
                                                           "as the root user or this is a new "
                                                           "Hamachi connection.\n\n" + question);
    }
    runner.calls.clear();
    EXPECT_EQ(CreateConfiguration().text, "Could not initialize a new Hamachi configuration.");
    runner.Answer("hamachi", "version : 1\n");
    EXPECT_EQ(CreateConfiguration().result, Check::Passed);
    EXPECT_EQ(runner.calls, (Texts{"hamachi-init", "hamachi", "hamachi-init", "hamachi"}));
}

TEST_F(StartupChecksTest, StartedClientComesUpLoggedInOrNot) {
    struct Case {
        const char* probe;
        bool before;
        Check::Result result;
        bool after;
    };
    const Case cases[] = {
        {"pid : 9\nstatus : offline\n", true, Check::Passed, false},
        {"pid : 9\nstatus : logged in\n", false, Check::Passed, true},
        {"pid : 9\n", true, Check::Passed, true},
        {"does not seem to be running\n", false, Check::Failed, false},
    };
    for (const Case& c : cases) {
        Client.LoggedIn = c.before;
        runner.Answer("hamachi", c.probe);
        EXPECT_EQ(ProbeStartedClient().result, c.result) << c.probe;
        EXPECT_EQ(Client.LoggedIn, c.after) << c.probe;
    }
    Client.LatestOutput = "The client does not seem to be running.\nstatus   : offline\n";
    TakeClientFlags();
    EXPECT_TRUE(!Client.Running && !Client.LoggedIn);
    Client.LatestOutput = "pid : 1\nstatus   : logged in\n";
    TakeClientFlags();
    EXPECT_TRUE(Client.Running && Client.LoggedIn);
}

}  // namespace
