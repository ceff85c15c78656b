// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include "client/runner.h"
#include "common/owned_fd.h"

extern char** environ;

namespace {

// How long an ended command's processes get to go after SIGTERM, and how long
// the last reap may take after SIGKILL.
constexpr int EndGraceMs = 200;
constexpr int ReapLimitMs = 1000;

// What posix_spawn is told, released when done.
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

}  // namespace

// posix_spawn rather than a fork of this whole program: every refresh runs
// one command, and a fork costs several times as much.
bool SpawnProcess(const Spawn& spawn, pid_t* pid) {
    SpawnSetup setup;
    if (spawn.nullInput) {
        posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    }
    if (spawn.output >= 0) posix_spawn_file_actions_adddup2(&setup.actions, spawn.output, 1);
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&setup.attributes, &all);
    posix_spawnattr_setsigmask(&setup.attributes, &none);
    short flags = POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK;
    if (spawn.ownSession) flags |= POSIX_SPAWN_SETSID;
    posix_spawnattr_setflags(&setup.attributes, flags);
    std::vector<char*> argv;
    for (const std::string& argument : spawn.argv) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    return !argv.empty() && argv[0] != nullptr &&
           posix_spawnp(pid, argv[0], &setup.actions, &setup.attributes, argv.data(), environ) == 0;
}

timespec Span(int64_t ms) {
    return {static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
}

void SleepMs(int ms) {
    timespec left = Span(ms);
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

int64_t MonotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
}

void AwaitReadable(int fd, int64_t deadline, BusyWindows* busy) {
    for (;;) {
        if (busy != nullptr) busy->Serve();
        int64_t left = deadline - MonotonicMs();
        if (left <= 0) return;
        if (busy != nullptr) left = std::min<int64_t>(left, BusyWindows::BusyTickMs);
        pollfd ready[2] = {{fd, POLLIN, 0}, {busy ? busy->Descriptor() : -1, POLLIN, 0}};
        const timespec wait = Span(left);
        const int polled = ppoll(ready, 2, &wait, nullptr);
        if (polled < 0 || ready[0].revents != 0) return;
    }
}

bool ReapedBy(pid_t pid, int64_t deadline, int* exitCode, BusyWindows* busy) {
    // Readable once the process ends.
    const OwnedFd ended(static_cast<int>(syscall(SYS_pidfd_open, pid, 0)));
    for (;;) {
        siginfo_t info{};
        const int got = waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG);
        if (got == 0 && info.si_pid == pid) {
            if (exitCode != nullptr) *exitCode = info.si_code == CLD_EXITED ? info.si_status : -1;
            return true;
        }
        if (got < 0 && errno != EINTR) return true;  // not ours to wait for any more
        if (deadline - MonotonicMs() <= 0) return false;
        if (ended.Get() < 0) {
            SleepMs(1);
            continue;
        }
        AwaitReadable(ended.Get(), deadline, busy);
    }
}

// The leader is reaped last, so that its number cannot name another group
// meanwhile.
void EndProcessGroup(pid_t pid) {
    kill(-pid, SIGTERM);
    SleepMs(EndGraceMs);
    kill(-pid, SIGKILL);  // what ignored SIGTERM, and children that outlived the leader
    kill(pid, SIGKILL);   // the leader itself, should its group be another
    ReapedBy(pid, MonotonicMs() + ReapLimitMs);
}
