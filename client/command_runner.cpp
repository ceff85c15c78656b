// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/command_runner.h"

#include <fcntl.h>
#include <glib.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <memory>

#include "common/identifiers.h"
#include "common/release.h"
#include "toolkit/toolkit.h"

extern char** environ;

bool CommandBusy = false;

namespace {

// A pipe's worth per read: small reads cost a system call each, which a long
// output (a large roster) would feel.
constexpr size_t ReadBufferSize = 65536;
constexpr int RunnerStepMs = 100;
// How long an ended command's processes get to go after SIGTERM, and how long
// the last reap may take after SIGKILL.
constexpr int EndGraceMs = 200;
constexpr int ReapLimitMs = 1000;
constexpr size_t PipeBytes = 65536;

int CommandLimitMs = CommandTimeLimitMs;

// A file descriptor, closed when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

  private:
    int fd_;
};

int64_t NowMs() {
    return g_get_monotonic_time() / 1000;
}

void PauseMs(int ms) {
    const timespec step{0, ms * 1000000L};
    nanosleep(&step, nullptr);
}

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

// Starts the shell on the command line, reading /dev/null, writing into the
// pipe, in a session of its own: the whole command can then be ended as one
// process group, and it has no terminal to prompt for a password on.
// posix_spawn rather than a fork of this whole program: every refresh runs
// one command, and a fork costs several times as much.
bool StartShell(const std::string& commandLine, int output, pid_t* pid) {
    SpawnSetup setup;
    posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, output, 1);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSID);
    char shell[] = "/bin/sh", option[] = "-c";
    char* argv[] = {shell, option, const_cast<char*>(commandLine.c_str()), nullptr};
    return posix_spawn(pid, shell, &setup.actions, &setup.attributes, argv, environ) == 0;
}

// Waits until the process has ended, and reaps it, or the deadline passed.
bool ReapedBy(pid_t pid, int64_t deadline) {
    // Readable once the process ends.
    const Descriptor ended(static_cast<int>(syscall(SYS_pidfd_open, pid, 0)));
    for (;;) {
        siginfo_t info{};
        const int got = waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG);
        if (got == 0 && info.si_pid == pid) return true;
        if (got < 0 && errno != EINTR) return true;  // not ours to wait for any more
        const int64_t left = deadline - NowMs();
        if (left <= 0) return false;
        if (ended.Get() < 0) {
            PauseMs(1);
            continue;
        }
        pollfd ready{ended.Get(), POLLIN, 0};
        const timespec wait{static_cast<time_t>(left / 1000),
                            static_cast<long>(left % 1000) * 1000000L};
        ppoll(&ready, 1, &wait, nullptr);
    }
}

// Ends the shell and everything it started that is still in its group.  The
// shell is reaped last, so that its number cannot name another group meanwhile.
void EndCommand(pid_t pid) {
    kill(-pid, SIGTERM);
    PauseMs(EndGraceMs);
    kill(-pid, SIGKILL);  // what ignored SIGTERM, and children that outlived the shell
    kill(pid, SIGKILL);   // the shell itself, should its group be another
    ReapedBy(pid, NowMs() + ReapLimitMs);
}

// Reads the command's output until it closes or the deadline passes; true
// when it closed in time.  At the deadline what is already in the pipe is
// still taken, up to one pipe's worth (a command that never stops writing
// must not keep us here).
bool ReadOutput(int fd, int64_t deadline, std::string* output) {
    std::array<char, ReadBufferSize> buffer;
    size_t late = 0;
    for (;;) {
        const int64_t left = std::max<int64_t>(0, deadline - NowMs());
        if (left == 0 && late >= PipeBytes) return false;
        pollfd ready{fd, POLLIN, 0};
        const timespec wait{static_cast<time_t>(left / 1000),
                            static_cast<long>(left % 1000) * 1000000L};
        // ppoll, not poll: a waiting command must not look like the idle
        // event loop (which sits in poll) to whoever watches the process.
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
        output->append(buffer.data(), static_cast<size_t>(got));
        if (left == 0) late += static_cast<size_t>(got);
    }
}

bool RunnableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode) && info.st_size > 0 &&
           access(path.c_str(), X_OK) == 0;
}

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

}  // namespace

std::string RunCommand(const std::string& commandLine) {
    if (CommandBusy) return "";
    CommandBusy = true;
    std::string output;
    const int64_t deadline = NowMs() + CommandLimitMs;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) == 0) {
        const Descriptor reading(ends[0]);
        pid_t pid = 0;
        // Standard error stays Corvane's own.
        const bool started = StartShell(commandLine, ends[1], &pid);
        close(ends[1]);
        if (started) {
            const bool closed = ReadOutput(reading.Get(), deadline, &output);
            // A command that closed its output may still run (or a child of
            // it may hold the output): both are bound by the same limit.
            if (!closed || !ReapedBy(pid, deadline)) EndCommand(pid);
        }
    }
    CommandBusy = false;
    return output;
}

void SetCommandTimeLimitForTests(int ms) {
    CommandLimitMs = ms > 0 ? ms : CommandTimeLimitMs;
}

// On one thread no command can be running here, so one step is all it takes.
void WaitForRunner() {
    Pause(RunnerStepMs);
    ProgramEvent dropped;
    if (WindowIsOpen(MainWindow)) PollEvent(&dropped);
}

std::string GetEnv(const std::string& name) {
    const std::string key = name + "=";
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, key.c_str(), key.size()) == 0) return *entry + key.size();
    }
    return "";
}

std::vector<std::string> SplitParameters(const std::string& parameters) {
    std::vector<std::string> arguments;
    size_t i = 0;
    const size_t n = parameters.size();
    while (i < n) {
        if (IsSeparator(parameters[i])) {
            ++i;
        } else if (parameters[i] == '"') {
            size_t close = parameters.find('"', i + 1);
            if (close == std::string::npos) close = n;
            arguments.push_back(parameters.substr(i + 1, close - i - 1));
            i = close + 1;
        } else {
            size_t end = i;
            while (end < n && !IsSeparator(parameters[end])) ++end;
            arguments.push_back(parameters.substr(i, end - i));
            i = end;
        }
    }
    return arguments;
}

bool ProgramRunnable(const std::string& program) {
    if (program.find('/') != std::string::npos && RunnableFile(program)) return true;
    if (program.empty() || program[0] == '/' || program.rfind("./", 0) == 0) return false;
    const std::string path = GetEnv("PATH");
    if (path.empty()) return false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(':', start);
        if (end == std::string::npos) end = path.size();
        std::string element = path.substr(start, end - start);
        if (!element.empty()) {
            if (element.back() != '/') element += '/';
            if (RunnableFile(element + program)) return true;
        }
        start = end + 1;
    }
    return false;
}

bool LaunchProgramArgs(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& directory, bool wait, bool privately) {
    if (!ProgramRunnable(program)) return false;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const char* workdir = directory.empty() ? nullptr : directory.c_str();
    const GSpawnFlags flags = GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_CHILD_INHERITS_STDIN);
    GSpawnChildSetupFunc setup = nullptr;  // runs in the program's process, before it starts
    if (privately) setup = [](gpointer) { umask(077); };
    if (wait) {
        // Blocks the interface until the program ends, by design.
        return g_spawn_sync(workdir, argv.data(), nullptr, flags, setup, nullptr, nullptr, nullptr,
                            nullptr, nullptr);
    }
    // Without DO_NOT_REAP_CHILD GLib starts the program through an
    // intermediate child that it reaps at once, so no zombie is left.
    return g_spawn_async(workdir, argv.data(), nullptr, flags, setup, nullptr, nullptr, nullptr);
}

bool LaunchProgram(const std::string& program, const std::string& parameters,
                   const std::string& directory, bool wait) {
    return LaunchProgramArgs(program, SplitParameters(parameters), directory, wait);
}

std::string ShellQuote(const std::string& value) {
    std::string quoted = "'";
    for (char c : value) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    quoted += '\'';
    return quoted;
}
