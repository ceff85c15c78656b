// SPDX-License-Identifier: GPL-2.0-or-later
// The client's state file content, split into keys and values.
#include <cstdint>
#include <string>

#include "client/client_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);
    for (const StateLine& line : StateFileLines(content)) {
        if (line.key.size() > 9) __builtin_trap();
        if ((line.key + line.value).find_first_of("\r\n") != std::string::npos) __builtin_trap();
    }
    return 0;
}
