// SPDX-License-Identifier: GPL-2.0-or-later
// Desktop notifications of what happens behind the window: members coming
// and going, the client stopping, a command ended at its time limit.  None
// when the options turn them off.
#pragma once

#include <string>

// Between two lists of the client: one notification per member that came
// online or went offline.  A first list (after start-up or a login) is no news.
void NoticeMemberChanges(const std::string& before, const std::string& after);
void NoticeClientGone();
void NoticeCommandCutShort(const std::string& commandLine);
