// SPDX-License-Identifier: GPL-2.0-or-later
// A command's output through the runner's reading: kept whole up to the
// bound, the rest dropped, whatever the bytes.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "client/process.h"
#include "client/shell.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 60000) return 0;  // one pipe's worth: written before it is read
    const size_t limit = data[0] * 97;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return 0;
    const std::string sent(reinterpret_cast<const char*>(data), size);
    if (write(ends[1], sent.data(), sent.size()) != static_cast<ssize_t>(sent.size())) __builtin_trap();
    close(ends[1]);
    std::string kept;
    const bool closed = ReadCommandOutput(ends[0], MonotonicMs() + 1000, limit, &kept);
    close(ends[0]);
    if (!closed || kept != sent.substr(0, limit)) __builtin_trap();
    return 0;
}
