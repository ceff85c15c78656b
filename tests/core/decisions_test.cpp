// SPDX-License-Identifier: GPL-2.0-or-later
// What the core makes of the client's answers: functions from text to data.
#include <gtest/gtest.h>

#include "client/nickname.h"
#include "client/session.h"
#include "client/watch.h"

namespace {

TEST(AnswersTest, LoginLogoutAndNicknamePhrases) {
    struct Case {
        const char* answer;
        bool login, logout, nickname;
    };
    const Case cases[] = {
        {"Logging in .. ok\n", true, true, false},
        {"ok", true, false, false},
        {"OK\n", false, false, false},  // the phrases are case-sensitive
        {"Already logged in.\n", true, false, false},
        // "ok" inside another word is no success
        {"token expired\n", false, false, false},
        {"ok2 2ok xoky\n", false, false, false},
        {"Logging out ..ok\n", true, false, false},
        {"Setting nickname .. ok\n", true, true, true},
        {"\nSetting nick\nname .. ok\n\n", true, true, true},
        {"Setting nickname .. ok\r\n", true, true, false},
        {"", false, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LoginAccepted(c.answer), c.login) << c.answer;
        EXPECT_EQ(LogoutAccepted(c.answer), c.logout) << c.answer;
        EXPECT_EQ(NicknameAccepted(c.answer), c.nickname) << c.answer;
    }
}

// A verdict in words: "gone", "out", "in", "refresh" and "status:TEXT".
std::string Words(const ProbeVerdict& v) {
    std::string words;
    for (const auto& [set, word] : {std::pair{v.clientGone, "gone "}, {v.loggedOut, "out "},
                                    {v.loggedIn, "in "}, {v.refresh, "refresh "}}) {
        if (set) words += word;
    }
    return words + (v.status ? "status:" + *v.status : "");
}

TEST(WatchdogTest, ProbeVerdicts) {
    const char* gone = "The client does not seem to be running.\n";
    const char* in = "pid      : 9\nstatus   : logged in\n";
    const char* out = "pid      : 9\nstatus   : logging in, step 2\n";
    struct Case {
        const char* probe;
        bool loggedIn, stoppedByUser;
        const char* verdict;
    };
    const Case cases[] = {
        {in, true, false, "refresh "},
        {in, false, false, "in "},
        {out, true, false, "out status:logging in, step 2"},
        {out, false, false, "status:logging in, step 2"},
        {gone, true, false, "gone out status:offline"},
        {gone, false, true, "status:offline"},  // the user stopped it: no restart
        {"", true, false, "out status:offline"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Words(JudgeProbe(c.probe, c.loggedIn, c.stoppedByUser)), c.verdict)
            << c.probe << c.loggedIn << c.stoppedByUser;
    }
}

}  // namespace
