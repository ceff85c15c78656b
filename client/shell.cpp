// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/shell.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "client/process.h"
#include "common/owned_fd.h"

namespace {

// A pipe's worth per read: small reads cost a system call each, which a long
// output (a large roster) would feel.
constexpr size_t ReadBufferSize = 65536;
constexpr size_t PipeBytes = 65536;

}  // namespace

// At the deadline what is already in the pipe is still taken, up to one
// pipe's worth (a command that never stops writing must not keep us here).
bool ReadCommandOutput(int fd, int64_t deadline, size_t limit, std::string* output,
                       BusyWindows* busy) {
    std::array<char, ReadBufferSize> buffer;
    size_t late = 0;
    for (;;) {
        if (busy != nullptr) AwaitReadable(fd, deadline, busy);
        const int64_t left = std::max<int64_t>(0, deadline - MonotonicMs());
        if (left == 0 && late >= PipeBytes) return false;
        pollfd ready{fd, POLLIN, 0};
        const timespec wait = Span(left);
        // ppoll, not poll: see AwaitReadable.
        const int polled = ppoll(&ready, 1, &wait, nullptr);
        if (polled < 0 && errno != EINTR) return true;
        if (polled < 0) continue;
        if (polled == 0) {
            if (left == 0) return false;
            continue;
        }
        const ssize_t got = read(fd, buffer.data(), buffer.size());
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return true;
        }
        output->append(buffer.data(), std::min(static_cast<size_t>(got), limit - output->size()));
        if (left == 0) late += static_cast<size_t>(got);
    }
}

// The shell runs in a session of its own, so that the whole command can be
// ended as one process group, with no terminal to prompt for a password on.
CommandOutput ShellRunner::Run(const std::string& commandLine) {
    CommandOutput output;
    const int64_t deadline = MonotonicMs() + timeLimitMs_;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return output;
    const OwnedFd reading(ends[0]);
    pid_t pid = 0;
    {
        const OwnedFd writing(ends[1]);
        // Standard error stays Corvane's own.
        output.started = SpawnProcess({{"/bin/sh", "-c", commandLine}, writing.Get(), true, true}, &pid);
    }
    if (!output.started) return output;
    BusyWindows* busy = Runner.Busy;
    if (busy != nullptr) busy->Begin();
    const bool closed = ReadCommandOutput(reading.Get(), deadline, outputLimit_, &output.text, busy);
    // A command that closed its output may still run (or a child of it may
    // hold the output): both are bound by the same limit.
    if (!closed || !ReapedBy(pid, deadline, nullptr, busy)) {
        EndProcessGroup(pid);
        output.cutShort = true;
    }
    if (busy != nullptr) busy->End();
    return output;
}
