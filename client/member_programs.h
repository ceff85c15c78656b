// SPDX-License-Identifier: GPL-2.0-or-later
// The programs the member menu starts on a member's address: a ping in a
// terminal, the file browser, and the remote-desktop viewer and server.
// Nothing is started for an address with characters other than hex digits,
// "." and ":": the terminal hands its -e argument to a shell.
#pragma once

#include <string>

void PingMember(const std::string& address);
void BrowseMember(const std::string& address);
void ControlMemberPc(const std::string& address, const std::string& viewer,
                     const std::string& viewerParms);
void GiveControlToMember(const std::string& address, const std::string& app,
                         const std::string& appParms);
