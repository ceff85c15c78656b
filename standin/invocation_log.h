// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace standin {

// One record of the control folder's log:
//   <program>\t<argument count>\n   then per argument   <byte length>\t<bytes>\n
// The length prefix keeps arguments with tabs or line feeds unambiguous.
std::string FormatInvocation(std::string_view program, const std::vector<std::string>& args);

// Appends the record to <controlDir>log, creating the folder as needed.
bool AppendInvocation(const std::string& controlDir, std::string_view program,
                      const std::vector<std::string>& args);

}  // namespace standin
