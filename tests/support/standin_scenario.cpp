// SPDX-License-Identifier: GPL-2.0-or-later
#include "standin_scenario.h"

#include "common/read_file.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

void WriteWhole(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (!out) throw std::runtime_error("StandinScenario: cannot write " + path);
}

}  // namespace

StandinScenario::StandinScenario() {
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = tmp && *tmp ? tmp : "/tmp";
    // Outputs print the home path and tests search them for short phrases,
    // so a random "pid" or "ok" in its name would fool them.
    for (int attempt = 0; home_.empty(); ++attempt) {
        std::string path = base + "/corvane-standin-XXXXXX";
        if (attempt == 20 || !mkdtemp(path.data()))
            throw std::runtime_error("StandinScenario: mkdtemp");
        const std::string name = path.substr(base.size());
        if (name.find("pid") == std::string::npos && name.find("ok") == std::string::npos)
            home_ = path;
        if (home_.empty()) rmdir(path.c_str());
    }
    fs::create_directories(BinDir());
    prctl(PR_SET_CHILD_SUBREAPER, 1);

    for (const char* name : {"HOME", "PATH", "HAMACHI_STANDIN_DIR"}) {
        const char* value = std::getenv(name);
        savedEnv_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    const char* path = std::getenv("PATH");
    setenv("HOME", home_.c_str(), 1);
    setenv("PATH",
           (BinDir() + ":" STANDIN_BIN_DIR ":" + (path && *path ? path : "/usr/bin:/bin")).c_str(),
           1);
    unsetenv("HAMACHI_STANDIN_DIR");
}

StandinScenario::~StandinScenario() {
    for (const auto& [name, value] : savedEnv_) {
        if (value) setenv(name, value->c_str(), 1);
        if (!value) unsetenv(name);
    }
    std::error_code error;
    fs::remove_all(home_, error);
}

void StandinScenario::Configure(const std::string& identity, const std::string& nickname) {
    fs::create_directories(ConfigDir());
    fs::permissions(ConfigDir(), fs::perms::owner_all);
    Write("state", "Identity   " + identity + "\nNickname   " + nickname + "\n");
}

void StandinScenario::Write(const std::string& name, const std::string& bytes) {
    WriteWhole(ConfigDir() + name, bytes);
}

void StandinScenario::Mark(const std::string& name, bool set) {
    fs::remove(ConfigDir() + name);
    if (set) Write(name, "");
}

// Records are "PROGRAM\tCOUNT\n" and then "LENGTH\tBYTES\n" per argument.
std::vector<StandinInvocation> StandinScenario::Invocations() const {
    std::istringstream log(ReadWholeFile(ControlDir() + "log").value_or(""));
    std::vector<StandinInvocation> calls;
    for (StandinInvocation call; std::getline(log, call.program, '\t'); call.args.clear()) {
        size_t count = 0, length = 0;
        bool whole = log >> count && log.get() == '\n';
        while (whole && call.args.size() < count) {
            whole = log >> length && log.get() == '\t';
            std::string arg(whole ? length : 0, '\0');
            whole = whole && log.read(arg.data(), std::streamsize(length)) && log.get() == '\n';
            call.args.push_back(std::move(arg));
        }
        if (!whole) throw std::runtime_error("StandinScenario: malformed call log");
        calls.push_back(call);
    }
    return calls;
}

void StandinScenario::AddProgram(const std::string& name, const std::string& scriptText) {
    const std::string path = BinDir() + "/" + name;
    WriteWhole(path, scriptText);
    fs::permissions(path, fs::perms(0755));
}

// The program looks for tuncfg with "ps -A |grep tuncfg": our ps says yes once ours ran.
void StandinScenario::FakeTuncfg(bool running) {
    const std::string mark = home_ + "/tuncfg-runs";
    AddProgram("ps", "#!/bin/sh\n[ -e '" + mark + "' ] && echo '  7 ?        00:00:00 tuncfg'\n");
    AddProgram("tuncfg", "#!/bin/sh\ntouch '" + mark + "'\n");
    if (running) WriteWhole(mark, "");
}
