// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/session.h"

#include <cctype>

#include "client/client_state.h"
#include "client/runner.h"
#include "common/text.h"

namespace {

constexpr int ReloadPauseMs = 1000;

bool WordCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// "ok" inside another word ("token", "broken") is no success.
bool HasWordOk(const std::string& answer) {
    for (size_t at = answer.find("ok"); at != std::string::npos; at = answer.find("ok", at + 1)) {
        const bool before = at > 0 && WordCharacter(answer[at - 1]);
        const bool after = at + 2 < answer.size() && WordCharacter(answer[at + 2]);
        if (!before && !after) return true;
    }
    return false;
}

}  // namespace

bool LoginAccepted(const std::string& answer) {
    return HasWordOk(answer) || Contains(answer, "logged in");
}

bool LogoutAccepted(const std::string& answer) {
    return Contains(answer, ".. ok");
}

bool LogIn() {
    if (!LoginAccepted(RunCommand("hamachi login").text)) return false;
    Client.LoggedIn = true;
    return true;
}

bool LogOut() {
    if (!LogoutAccepted(RunCommand("hamachi logout").text)) return false;
    Client.LoggedIn = false;
    return true;
}

void StopClient() {
    RunCommand("hamachi stop");
}

void ReloadClient() {
    RunCommand("hamachi stop");
    Pause(ReloadPauseMs);
    RunCommand("hamachi start");
}
