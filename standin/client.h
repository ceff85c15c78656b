// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "control.h"

namespace standin {

// Shown by the probe unless the configuration folder has a `version` file.
inline constexpr std::string_view kDefaultVersion = "0.9.9.9-standin";

// `hamachi` itself, after the control hooks: the probe without arguments,
// else a sub-command working on the files of the configuration folder.
Outcome RunClient(const std::vector<std::string>& args);

}  // namespace standin
