// SPDX-License-Identifier: GPL-2.0-or-later
// The client's config file: read for its three values, and merged with new
// fields, after which it reads back as those fields.
#include <cstdint>
#include <string>

#include "settings/client_config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const auto& value : ParseClientConfig(text)) {
        if (value && value->find_first_of("\r\n") != std::string::npos) __builtin_trap();
    }
    const std::string merged = MergeClientConfig(text, {"30", "0", "2048"});
    if (!merged.empty() && merged.back() != '\n') __builtin_trap();
    // Whatever else the text held, it reads back as the fields.
    if (ParseClientConfig(merged) != ClientConfigValues{"30", std::nullopt, "2048"}) __builtin_trap();
    // Merging again changes nothing: its own output is already in shape.
    if (MergeClientConfig(merged, {"30", "0", "2048"}) != merged) __builtin_trap();
    return 0;
}
