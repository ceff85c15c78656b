// SPDX-License-Identifier: GPL-2.0-or-later
// The system shell as the runner of the client's commands.
#pragma once

#include <cstddef>

#include "client/runner.h"

// How long a command may run: a client stuck on its server must not freeze
// the window for good.
constexpr int CommandTimeLimitMs = 30000;
// How much of a command's output is kept; the rest is read and dropped, so a
// command that prints without end costs no memory.
constexpr size_t OutputLimitBytes = size_t{16} << 20;

// Reads a command's output from `fd` until it closes or the deadline (on the
// monotonic clock of process.h) passes; true when it closed in time.  Past
// `limit` bytes the rest is read and dropped.
// `busy`, when given, is served while the output is awaited.
bool ReadCommandOutput(int fd, int64_t deadline, size_t limit, std::string* output,
                       BusyWindows* busy = nullptr);

// Runs the line with /bin/sh -c in a session of its own, reading /dev/null,
// with default signal handling; a command still running at the time limit
// is ended with everything it started, and what it had printed is returned.
class ShellRunner final : public CommandRunner {
  public:
    explicit ShellRunner(int timeLimitMs = CommandTimeLimitMs, size_t outputLimit = OutputLimitBytes)
        : timeLimitMs_(timeLimitMs), outputLimit_(outputLimit) {}
    CommandOutput Run(const std::string& commandLine) override;

  private:
    int timeLimitMs_;
    size_t outputLimit_;
};
