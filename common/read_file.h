// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Larger files are not read: no settings or state file comes near it.
constexpr size_t ReadFileLimit = 1 << 20;

// The whole content of a regular file of at most `limit` bytes.  Nothing
// when it cannot be opened or read, and for anything else at the name (a
// directory, a FIFO, a device, a larger file): such a name is never waited
// on and never read into memory.
std::optional<std::string> ReadWholeFile(const std::string& path, size_t limit = ReadFileLimit);
