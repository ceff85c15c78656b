// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/startup_checks.h"

#include <cstdio>

#include "common/read_file.h"
#include "core_test.h"
#include "standin_scenario.h"

namespace {

class StartupChecksTest : public CoreTest {
  protected:
    StandinScenario scenario;  // the stand-in client on PATH
};

TEST_F(StartupChecksTest, TuncfgFoundStartedOrAskedFor) {
    struct Case {
        const char* user;
        int foundFrom;  // the look of "ps" that finds tuncfg; 0: none
        Check::Result first, afterYes;
    };
    const Case cases[] = {
        {"tester", 1, Check::Passed, Check::Passed},
        {"root", 2, Check::Passed, Check::Passed},  // started without a question
        {"root", 0, Check::Failed, Check::Failed},
        {"tester", 2, Check::Ask, Check::Passed},
        {"tester", 0, Check::Ask, Check::Failed},
    };
    // Slow to write its arguments: the launch waits for it.
    scenario.AddProgram("xterm", "#!/bin/sh\nsleep 0.2\nprintf '%s\\n' \"$@\" >\"$HOME/a\"\n"
                                 "mv \"$HOME/a\" \"$HOME/xterm-args\"\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.user) + " " + std::to_string(c.foundFrom));
        Client.CurrentUser = c.user;
        runner.answerer = [n = c.foundFrom, looks = 0](const std::string& line) mutable {
            const bool found = line == "ps -A |grep tuncfg" && ++looks >= n && n > 0;
            return CommandOutput{found ? "  7 ?  00:00:00 tuncfg\n" : "", true};
        };
        Check check = CheckTuncfg();
        EXPECT_EQ(check.result, c.first);
        if (check.result == Check::Ask) {
            EXPECT_EQ(check.title + "|" + check.text,
                      "Hamachi|Hamachi needs a TAP/TUN device driver to operate.\n\n"
                      "Do you want to try load 'tuncfg' with 'sudo'?");
            check = LoadTuncfgWithSudo();
            EXPECT_EQ(check.result, c.afterYes);
            EXPECT_EQ(ReadWholeFile(scenario.Home() + "/xterm-args"),
                      "-T\nsudo_tuncfg\n-geometry\n40x5\n-e\nsudo\ntuncfg\n");
            std::remove((scenario.Home() + "/xterm-args").c_str());
        }
        if (check.result == Check::Failed) {
            EXPECT_EQ(check.title + "|" + check.text, "Error|TAP/TUN not found.");
        }
    }
}

// The client's absence shows in its answer, on PATH, or in a probe that cannot run.
TEST_F(StartupChecksTest, ClientPresentAndConfigured) {
    runner.Answer("hamachi", "hamachi: command not found\n");
    const Check missing = CheckClientPresent();
    EXPECT_EQ(missing.title + "|" + missing.text,
              "Hamachi Error|Hamachi is not loaded or not in the path...\n\nDownload Hamachi at: " +
                  std::string(ClientDownloadAddress));
    runner.CannotRun("hamachi");
    EXPECT_EQ(CheckClientPresent().result, Check::Failed);
    runner.Answer("hamachi", "Cannot find configuration directory /x\n");
    EXPECT_EQ(CheckClientPresent().result, Check::Passed);
    setenv("PATH", "/usr/bin:/bin", 1);
    EXPECT_EQ(CheckClientPresent().result, Check::Failed);

    const std::string question = "Do you want to create a new Hamachi configuration?";
    Client.CurrentUser = "root";
    EXPECT_EQ(CheckClientConfigured().text, question);
    Client.CurrentUser = "tester";
    EXPECT_EQ(CheckClientConfigured().text,
              "Cannot find the hamachi configuration directory.  Either Hamachi was\nstarted as "
              "the root user or this is a new Hamachi connection.\n\n" + question);
    runner.calls.clear();
    EXPECT_EQ(CreateConfiguration().text, "Could not initialize a new Hamachi configuration.");
    runner.Answer("hamachi", "version : 1\n");
    EXPECT_EQ(CreateConfiguration().result, Check::Passed);
    EXPECT_EQ(runner.calls,
              (std::vector<std::string>{"hamachi-init", "hamachi", "hamachi-init", "hamachi"}));
}

TEST_F(StartupChecksTest, StartedClientComesUpLoggedInOrNot) {
    // The probe, and whether logged in before; the check, and logged in after.
    const std::tuple<const char*, bool, Check::Result, bool> cases[] = {
        {"pid : 9\nstatus : offline\n", true, Check::Passed, false},
        {"pid : 9\nstatus : logged in\n", false, Check::Passed, true},
        {"pid : 9\n", true, Check::Passed, true},
        {"does not seem to be running\n", false, Check::Failed, false},
    };
    for (const auto& [probe, before, result, after] : cases) {
        Client.LoggedIn = before;
        runner.Answer("hamachi", probe);
        EXPECT_EQ(ProbeStartedClient().result, result) << probe;
        EXPECT_EQ(Client.LoggedIn, after) << probe;
    }
}

}  // namespace
