// SPDX-License-Identifier: GPL-2.0-or-later
#include "control.h"

#include <unistd.h>

#include <csignal>
#include <ctime>
#include <iostream>

#include "common/read_file.h"
#include "fileio.h"
#include "invocation_log.h"
#include "paths.h"

namespace standin {

namespace {

bool IsSafeKey(const std::string& key) {
    return !key.empty() && key != "." && key != ".." && key.find('/') == std::string::npos;
}

void WaitWhile(const std::string& hangFile) {
    // A test stops a hung command with SIGTERM; make sure an inherited
    // "ignore" does not turn that into a hang forever.
    std::signal(SIGTERM, SIG_DFL);
    const timespec tick{0, 10'000'000};
    while (Exists(hangFile)) nanosleep(&tick, nullptr);
}

}  // namespace

std::vector<std::string> Arguments(int argc, char** argv) {
    if (argc < 2) return {};
    return std::vector<std::string>(argv + 1, argv + argc);
}

int Emit(const Outcome& outcome) {
    WriteAll(STDOUT_FILENO, outcome.out);
    WriteAll(STDERR_FILENO, outcome.err);
    return outcome.status;
}

std::optional<std::string> Intercept(std::string_view program, const std::vector<std::string>& args,
                                     const std::string& key) {
    const std::string control = ControlDir();
    if (!AppendInvocation(control, program, args)) {
        std::cerr << program << ": cannot write the call log in " << control << '\n';
    }
    if (!IsSafeKey(key)) return std::nullopt;
    WaitWhile(control + "hang/" + key);
    const std::string answer = control + "answer/" + key;
    if (!Exists(answer)) return std::nullopt;
    return ReadWholeFile(answer, kFileLimit);
}

}  // namespace standin
