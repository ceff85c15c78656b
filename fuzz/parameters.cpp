// SPDX-License-Identifier: GPL-2.0-or-later
// Parameter strings (options a user may edit) split into program arguments.
#include <cstdint>
#include <string>

#include "client/launcher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string parameters(reinterpret_cast<const char*>(data), size);
    size_t kept = 0;
    for (const std::string& argument : SplitParameters(parameters)) kept += argument.size();
    if (kept > size) __builtin_trap();
    return 0;
}
