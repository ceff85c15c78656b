// SPDX-License-Identifier: GPL-2.0-or-later
// Desktop notifications of what happens behind the window: members coming
// and going, the client stopping, a command ended at its time limit.  None
// when the options turn them off.
#pragma once

#include <string>
#include <vector>

#include "client/roster.h"

// Between a list of the client and the rows of the next: one notification
// per member that came online or went offline.  A first list (after start-up
// or a login) is no news.
void NoticeMemberChanges(const std::string& before, const std::vector<RosterRow>& after);
void NoticeClientGone();
void NoticeCommandCutShort(const std::string& commandLine);
