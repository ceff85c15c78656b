// SPDX-License-Identifier: GPL-2.0-or-later
// Running shell commands and programs; the only code that starts processes.
#pragma once

#include <string>
#include <vector>

// True while RunCommand is executing a command.
extern bool CommandBusy;

// Runs the line through the shell and returns its whole standard output, or
// "" when it printed nothing, could not be run or the runner was busy.  The
// command reads /dev/null; one still running after the time limit is ended
// with everything it started, and what it had printed is returned.
std::string RunCommand(const std::string& commandLine);

// How long a command may run: a client stuck on its server must not freeze
// the window for good.
constexpr int CommandTimeLimitMs = 30000;
// Test seam: a shorter limit; 0 restores CommandTimeLimitMs.
void SetCommandTimeLimitForTests(int ms);

// The cooperative wait before every command: 100 ms, then one poll for an
// event (dropped) once the main window exists.
void WaitForRunner();

// The value of an environment variable, "" when unset.
std::string GetEnv(const std::string& name);

// Starts `program` with the arguments split out of `parameters` (blanks
// separate them; a part in double quotes is one argument).  Detached unless
// `wait`; then it blocks until the program ends.  False when the program
// cannot be found or started.
bool LaunchProgram(const std::string& program, const std::string& parameters,
                   const std::string& directory, bool wait);
// The same with the arguments given one by one, for values holding blanks
// or quotes.  `privately`: under a umask of 077, so that what the program
// creates is readable by the user alone.
bool LaunchProgramArgs(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& directory, bool wait, bool privately = false);

std::vector<std::string> SplitParameters(const std::string& parameters);

// Whether `program` names a runnable file, directly or through PATH.
bool ProgramRunnable(const std::string& program);

// One single-quoted shell word that reaches the program as exactly `value`.
std::string ShellQuote(const std::string& value);
