// SPDX-License-Identifier: GPL-2.0-or-later
// Texts typed into entries, on their way to the client.
#pragma once

#include <optional>
#include <string>

// The entry's text in the client's 8-bit character set; nothing, after
// saying so in a message box, when it holds a character that set lacks.
std::optional<std::string> EntryForClient(int gadget);
