// SPDX-License-Identifier: GPL-2.0-or-later
#include "common/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/owned_fd.h"

std::optional<std::string> ReadWholeFile(const std::string& path, size_t limit) {
    // Checked before opening as well: opening a device can have effects.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    // Without O_NONBLOCK, a FIFO swapped in meanwhile would block the open.
    const OwnedFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd || fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size > static_cast<off_t>(limit)) {
        return std::nullopt;
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) return content;
        content.append(buffer, static_cast<size_t>(got));
        if (content.size() > limit) return std::nullopt;  // it grew meanwhile
    }
}
