// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>

// The whole content of a file; nothing when it cannot be opened or read
// (a directory of that name included).
inline std::optional<std::string> ReadWholeFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string content;
    char buffer[4096];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        content.append(buffer, static_cast<size_t>(got));
    }
    close(fd);
    if (got < 0) return std::nullopt;
    return content;
}
