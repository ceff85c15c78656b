// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace standin {

// The state file holds lines like "Nickname   alice": the key padded with
// blanks to 11 characters, then the value. Readers take the key from the
// first 9 characters and the value from the 12th on, both trimmed of blanks.
std::string StateLine(std::string_view key, std::string_view value);
std::string StateKey(std::string_view line);
std::string StateValue(std::string_view line);

// Sets every line keyed `key` to the value (appending one when there is
// none) and leaves all other bytes of the file as they were.
std::string WithStateValue(std::string_view text, std::string_view key, std::string_view value);

}  // namespace standin
