// SPDX-License-Identifier: GPL-2.0-or-later
// The probe's output ("hamachi" alone): the version and status cuts.
#include <cstdint>
#include <string>

#include "client/client_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string probe(reinterpret_cast<const char*>(data), size);
    std::string version;
    if (ProbeVersion(probe, &version) && version.find_first_of(":\n") != std::string::npos) {
        __builtin_trap();
    }
    if (ProbeStatusText(probe).find('\n') != std::string::npos) __builtin_trap();
    return 0;
}
