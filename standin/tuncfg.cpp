// SPDX-License-Identifier: GPL-2.0-or-later
#include "tuncfg.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <ctime>

#include "fileio.h"

namespace standin {

namespace {

void DetachStdio() {
    const int null = open("/dev/null", O_RDWR);
    if (null < 0) return;
    for (int fd = 0; fd <= 2; ++fd) dup2(null, fd);
    if (null > 2) close(null);
    // Inherited pipes held open would keep whoever started us waiting for EOF.
    close_range(3, ~0U, 0);
}

}  // namespace

int RunTuncfg(const std::string& controlDir) {
    const pid_t child = fork();
    if (child < 0) {
        std::perror("tuncfg: fork");
        return 1;
    }
    if (child > 0) return 0;

    setsid();
    if (chdir("/") != 0) _exit(1);
    DetachStdio();
    // Started from a background shell job these arrive ignored.
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);

    AppendToFile(controlDir + "tuncfg.pids", std::to_string(getpid()) + "\n");
    const timespec second{1, 0};
    while (IsDirectory(controlDir)) nanosleep(&second, nullptr);
    _exit(0);
}

}  // namespace standin
