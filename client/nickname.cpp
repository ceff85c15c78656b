// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/nickname.h"

#include <algorithm>

#include "client/client_state.h"
#include "client/runner.h"

bool NicknameAccepted(std::string answer) {
    answer.erase(std::remove(answer.begin(), answer.end(), '\n'), answer.end());
    return answer == "Setting nickname .. ok";
}

Outcome SetNickname(const std::string& nickname) {
    if (nickname == Client.Nickname) return {};
    const CommandOutput answer = RunCommand("hamachi set-nick " + ShellQuote(nickname));
    if (!answer.started) return {NotRunMessage(), false};
    if (!NicknameAccepted(answer.text)) {
        return {Message{"Hamachi", "Error: could not set new nick name."}, false};
    }
    Client.Nickname = nickname;
    return {std::nullopt, true};
}
