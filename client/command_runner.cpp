#include "client/command_runner.h"

#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

#include "common/identifiers.h"
#include "common/release.h"
#include "toolkit/toolkit.h"

extern char** environ;

bool CommandBusy = false;

namespace {

constexpr size_t ReadBufferSize = 2000;
constexpr int RunnerStepMs = 100;

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
    if (std::unique_ptr<FILE, ReleaseWith<pclose>> pipe{popen(commandLine.c_str(), "r")}) {
        std::array<char, ReadBufferSize> buffer;
        size_t got;
        while ((got = fread(buffer.data(), 1, buffer.size() - 1, pipe.get())) > 0) {
            output.append(buffer.data(), got);
        }
    }
    CommandBusy = false;
    return output;
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
                       const std::string& directory, bool wait) {
    if (!ProgramRunnable(program)) return false;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const char* workdir = directory.empty() ? nullptr : directory.c_str();
    const GSpawnFlags flags = GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_CHILD_INHERITS_STDIN);
    if (wait) {
        // Blocks the interface until the program ends, by design.
        return g_spawn_sync(workdir, argv.data(), nullptr, flags, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr);
    }
    // Without DO_NOT_REAP_CHILD GLib starts the program through an
    // intermediate child that it reaps at once, so no zombie is left.
    return g_spawn_async(workdir, argv.data(), nullptr, flags, nullptr, nullptr, nullptr, nullptr);
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
