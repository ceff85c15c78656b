// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

// Tests hand the stand-in rosters and answers far larger than any settings
// file: its files are read up to this.
inline constexpr size_t kFileLimit = size_t{256} << 20;

// What a command prints and returns; written out only at the end so each
// command's stdout leaves in one piece.
struct Outcome {
    std::string out;
    std::string err;
    int status = 0;
};

std::vector<std::string> Arguments(int argc, char** argv);

// Writes the outcome to stdout/stderr and returns its exit status.
int Emit(const Outcome& outcome);

// Runs the control folder's hooks in order: logs the call, waits while
// hang/<key> exists, then returns the bytes of answer/<key> if present.
// Keys that could escape the folder (a slash, "..") never match a hook.
std::optional<std::string> Intercept(std::string_view program, const std::vector<std::string>& args,
                                     const std::string& key);

}  // namespace standin
