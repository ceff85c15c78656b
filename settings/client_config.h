// SPDX-License-Identifier: GPL-2.0-or-later
// The client's "config" file in its configuration directory: the keep-alive
// interval and the two rate limits, edited on the status window's System page.
#pragma once

#include <array>
#include <optional>
#include <string>

// KeepAlive, TxRate, RxRate, in the file's order.
constexpr int ClientConfigKeys = 3;
using ClientConfigFields = std::array<std::string, ClientConfigKeys>;
// What a file sets, by key; nothing for a key that no line mentions.
using ClientConfigValues = std::array<std::optional<std::string>, ClientConfigKeys>;

// What configDir + "config" sets; nothing for every key when there is no
// file to read.
ClientConfigValues LoadClientConfig(const std::string& configDir);
// Replaces the file with the merge of its text and the fields; false when it
// cannot be read or replaced (then it is left whole).
bool SaveClientConfig(const std::string& configDir, const ClientConfigFields& fields);

// The values a file's text sets: a line mentioning a key anywhere sets it from
// the column after "Key ", trimmed of blanks; later lines win.
ClientConfigValues ParseClientConfig(const std::string& text);
// The file's new text: the first line whose first word is a key takes that
// key's field, missing keys are appended in order, a field of exactly "0"
// removes its key; every other line stays as it was, unless it names a key
// anywhere (the loader would take it for that key).  So the text reads back
// as the fields, for fields of digits.  LF ends every line.
std::string MergeClientConfig(const std::string& text, const ClientConfigFields& fields);
