// SPDX-License-Identifier: GPL-2.0-or-later
// The file reader on a file of the input's bytes, stretched by a sparse tail
// whose length the first two bytes give (up to 2 MiB): the file is read
// whole within the bound, and not at all past it.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/read_file.h"

namespace {

std::string Path;

int OpenScratchFile() {
    const char* tmp = std::getenv("TMPDIR");
    Path = std::string(tmp && *tmp ? tmp : "/tmp") + "/corvane-fuzz-read-XXXXXX";
    const int fd = mkstemp(Path.data());
    std::atexit([] { unlink(Path.c_str()); });
    return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const int fd = OpenScratchFile();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const size_t tail = size < 2 ? 0 : (size_t{data[0]} << 8 | data[1]) * 32;
    if (fd < 0 || ftruncate(fd, 0) != 0 ||
        pwrite(fd, bytes.data(), size, 0) != static_cast<ssize_t>(size) ||
        ftruncate(fd, static_cast<off_t>(size + tail)) != 0) {
        __builtin_trap();
    }
    const std::optional<std::string> read = ReadWholeFile(Path);
    if (size + tail <= ReadFileLimit ? read != bytes + std::string(tail, '\0') : read.has_value()) {
        __builtin_trap();
    }
    return 0;
}
