// SPDX-License-Identifier: GPL-2.0-or-later
// Starting, awaiting and ending processes: what the shell runner and the
// program launcher share.
#pragma once

#include <sys/types.h>
#include <time.h>

#include <cstdint>
#include <string>
#include <vector>

class BusyWindows;

struct Spawn {
    std::vector<std::string> argv;  // argv[0] is searched for on PATH
    int output = -1;                // standard output; -1 keeps ours
    bool ownSession = false;        // a session (and process group) of its own
    bool nullInput = false;         // reads /dev/null
};

// Starts the program with every signal handled the default way and none
// blocked, whatever this program (or a library under it) set: a daemon
// started this way must not inherit an ignored SIGPIPE.  False when it
// cannot be started.
bool SpawnProcess(const Spawn& spawn, pid_t* pid);

// The monotonic clock of the processes' deadlines, in milliseconds.
int64_t MonotonicMs();
// A span of milliseconds as the system's sleeps and polls take it.
timespec Span(int64_t ms);
// Sleeps the whole time, whatever signals arrive.
void SleepMs(int ms);
// Waits until the process has ended, and reaps it, or the deadline passed;
// `exitCode` gets its exit status, -1 when a signal ended it.  `busy`, when
// given, is served meanwhile.
bool ReapedBy(pid_t pid, int64_t deadline, int* exitCode = nullptr, BusyWindows* busy = nullptr);
// Waits until `fd` is readable or the deadline passed, serving `busy` (when
// given) meanwhile; ppoll, not poll: a waiting command must not look like the
// idle event loop (which sits in poll) to whoever watches the process.
void AwaitReadable(int fd, int64_t deadline, BusyWindows* busy);
// Ends the process and everything still in its process group.
void EndProcessGroup(pid_t pid);
