// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

namespace standin {

// Detaches a daemon and returns 0 in the caller at once. The daemon records
// its pid in <controlDir>tuncfg.pids and lives until SIGTERM/SIGINT, or until
// the control folder disappears so none outlives a test's home folder.
int RunTuncfg(const std::string& controlDir);

}  // namespace standin
