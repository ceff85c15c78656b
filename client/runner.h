// SPDX-License-Identifier: GPL-2.0-or-later
// Running the client's commands.  One call waits for the runner and runs the
// command; what ran, how and when is given to the core (the program gives the
// system's shell and clock, tests give their own).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct CommandOutput {
    std::string text;      // the command's standard output, byte for byte
    bool started = false;  // false: nothing could be run at all
    bool cutShort = false;  // ended at the time limit with what it had printed
};

// How a command line reaches a shell.
class CommandRunner {
  public:
    virtual ~CommandRunner() = default;
    virtual CommandOutput Run(const std::string& commandLine) = 0;
};

// The passing of time.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual int64_t NowMs() = 0;  // monotonic
    virtual void Pause(int ms) = 0;
};

// What the window system may do while a command runs: the runner watches its
// descriptor beside the command and lets it serve what cannot reach a handler
// (repaints, the window manager's pings); input is dropped meanwhile.  Served
// at least every BusyTickMs, so that it can show a long command is busy.
class BusyWindows {
  public:
    static constexpr int BusyTickMs = 100;
    virtual ~BusyWindows() = default;
    virtual void Begin() = 0;
    virtual int Descriptor() = 0;  // readable when the window system has something
    virtual void Serve() = 0;
    virtual void End() = 0;
};

struct RunnerState {
    CommandRunner* Commands = nullptr;  // null: the system shell
    Clock* Time = nullptr;              // null: the system clock
    // Lets the window system in once before a command (what it posts is
    // dropped); unset until the main window exists.
    std::function<void()> BeforeCommand;
    BusyWindows* Busy = nullptr;  // unset: the windows wait for the command
    // Told of a command that was ended at the time limit.
    std::function<void(const std::string& commandLine)> CommandCutShort;
    bool CommandBusy = false;
};
extern RunnerState Runner;

// The runner's wait (100 ms, then the window system once), then the command
// through the shell.  Not started while another command runs.
CommandOutput RunCommand(const std::string& commandLine);
// The same without the wait: only for the very first command at start-up.
CommandOutput RunCommandAtOnce(const std::string& commandLine);

// Milliseconds from the whole second of the first reading; compare as a
// signed 32-bit difference.
int32_t Millis();
void Pause(int ms);

// One single-quoted shell word that reaches the program as exactly `value`.
std::string ShellQuote(const std::string& value);
