// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/member_programs.h"

#include "client/launcher.h"

namespace {

// "" (no row selected) is one.
bool PlainAddress(const std::string& address) {
    return address.find_first_not_of("0123456789abcdefABCDEF.:") == std::string::npos;
}

// Starts `program` with before + ADDRESS + after as its parameter string.
void LaunchOn(const std::string& address, const char* program, const std::string& before,
              const std::string& after) {
    if (PlainAddress(address)) LaunchProgram(program, before + address + after, "", false);
}

}  // namespace

void PingMember(const std::string& address) {
    LaunchOn(address, "xterm", "-T Hamachi -e \"ping ", "\"");
}

void BrowseMember(const std::string& address) {
    LaunchOn(address, "nautilus", "smb://", "");
}

void ControlMemberPc(const std::string& address, const std::string& viewer,
                     const std::string& viewerParms) {
    LaunchOn(address, "xterm", "-T VNCviewer -geometry 60x5 -e \"" + viewer + " " + viewerParms + " ",
             "\"");
}

void GiveControlToMember(const std::string& address, const std::string& app,
                         const std::string& appParms) {
    LaunchOn(address, "xterm", "-T Hamachi -e \"" + app + " " + appParms + " ", "\"");
}
