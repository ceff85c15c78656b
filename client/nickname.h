// SPDX-License-Identifier: GPL-2.0-or-later
// Changing the client's nickname.
#pragma once

#include <string>

#include "client/outcome.h"

// The client's answer counts only as exactly "Setting nickname .. ok" once
// its line feeds are removed.
bool NicknameAccepted(std::string answer);
// "hamachi set-nick"; done, and the nickname taken, when the client accepted.
// A nickname equal to the one held is not sent: nothing is done or said.
Outcome SetNickname(const std::string& nickname);
