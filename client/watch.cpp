// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/watch.h"

#include "client/client_state.h"
#include "common/text.h"

ProbeVerdict JudgeProbe(std::string_view probe, bool loggedIn, bool stoppedByUser) {
    ProbeVerdict verdict;
    verdict.clientGone = Contains(probe, "does not seem to be running") && !stoppedByUser;
    const bool saysLoggedIn = Contains(probe, ": logged in");
    verdict.loggedOut = loggedIn && !saysLoggedIn;
    if (loggedIn && saysLoggedIn) {
        verdict.refresh = true;
    } else if (saysLoggedIn) {
        verdict.loggedIn = true;
    } else {
        verdict.status = ProbeStatusText(probe);
    }
    return verdict;
}
