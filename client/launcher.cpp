// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/launcher.h"

#include <glib.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "client/process.h"

extern char** environ;

namespace {

bool RunnableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode) && info.st_size > 0 &&
           access(path.c_str(), X_OK) == 0;
}

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// Runs in the program's process before it starts: default signal handling
// (a terminal or file browser must not inherit an ignored SIGPIPE).
void DefaultSignals(gpointer) {
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal) sigaction(signal, &standard, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
}

}  // namespace

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

bool LaunchProgram(const std::string& program, const std::string& parameters,
                   const std::string& directory, bool wait) {
    if (!ProgramRunnable(program)) return false;
    const std::vector<std::string> arguments = SplitParameters(parameters);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const char* workdir = directory.empty() ? nullptr : directory.c_str();
    const GSpawnFlags flags = GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_CHILD_INHERITS_STDIN);
    if (wait) {
        // Blocks the interface until the program ends, by design.
        return g_spawn_sync(workdir, argv.data(), nullptr, flags, DefaultSignals, nullptr, nullptr,
                            nullptr, nullptr, nullptr);
    }
    // Without DO_NOT_REAP_CHILD GLib starts the program through an
    // intermediate child that it reaps at once, so no zombie is left.
    return g_spawn_async(workdir, argv.data(), nullptr, flags, DefaultSignals, nullptr, nullptr,
                         nullptr);
}

int RunProgramInto(const std::vector<std::string>& argv, int output, int timeLimitMs) {
    const int64_t deadline = MonotonicMs() + timeLimitMs;
    const mode_t mask = umask(077);  // what it creates is the user's alone
    pid_t pid = 0;
    const bool started = SpawnProcess({argv, output, true, true}, &pid);
    umask(mask);
    if (!started) return -1;
    int exitCode = -1;
    if (!ReapedBy(pid, deadline, &exitCode)) {
        EndProcessGroup(pid);
        return -1;
    }
    return exitCode;
}
