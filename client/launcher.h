// SPDX-License-Identifier: GPL-2.0-or-later
// Starting programs without a shell: terminals, the file browser, tar, tuncfg.
#pragma once

#include <string>
#include <vector>

// The value of an environment variable, "" when unset.
std::string GetEnv(const std::string& name);

// Starts `program` with the arguments split out of `parameters` (blanks
// separate them; a part in double quotes is one argument).  Detached unless
// `wait`; then it blocks until the program ends.  False when the program
// cannot be found or started.
bool LaunchProgram(const std::string& program, const std::string& parameters,
                   const std::string& directory, bool wait);

// Runs the program to its end with its standard output into `output`, under
// a umask of 077, for at most `timeLimitMs` (then it is ended with all it
// started); its exit status, -1 when it could not run or did not end by itself.
int RunProgramInto(const std::vector<std::string>& argv, int output, int timeLimitMs);

std::vector<std::string> SplitParameters(const std::string& parameters);

// Whether `program` names a runnable file, directly or through PATH.
bool ProgramRunnable(const std::string& program);
