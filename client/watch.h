// SPDX-License-Identifier: GPL-2.0-or-later
// What the watchdog makes of a probe: the client stopped, or logged in or out
// behind Corvane's back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct ProbeVerdict {
    bool clientGone = false;  // stopped outside Corvane: a restart is offered
    bool loggedOut = false;   // was logged in, is no more
    bool loggedIn = false;    // was not, is now: the roster is filled
    bool refresh = false;     // logged in all along: the roster is refreshed
    std::optional<std::string> status;  // logged out: the client's status line
};

ProbeVerdict JudgeProbe(std::string_view probe, bool loggedIn, bool stoppedByUser);
