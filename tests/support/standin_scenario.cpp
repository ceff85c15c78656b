#include "standin_scenario.h"

#include <spawn.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

std::optional<std::string> ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteWhole(const std::string& path, const std::string& bytes,
                std::ios::openmode mode = std::ios::trunc) {
    std::ofstream out(path, std::ios::binary | std::ios::out | mode);
    out << bytes;
    out.close();
    if (!out) throw std::runtime_error("StandinScenario: cannot write " + path);
}

std::optional<std::string> GetEnv(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void RestoreEnv(const char* name, const std::optional<std::string>& value) {
    if (value) {
        setenv(name, value->c_str(), 1);
    } else {
        unsetenv(name);
    }
}

void Pause() {
    const timespec tick{0, 10'000'000};
    nanosleep(&tick, nullptr);
}

bool IsStorable(const std::string& value) {
    return value.find_first_of("\t\r\n") == std::string::npos;
}

void RequireStorable(const std::string& value) {
    if (!IsStorable(value)) {
        throw std::invalid_argument("StandinScenario: tab, CR and LF cannot be stored: " + value);
    }
}

struct ProcInfo {
    std::string comm;
    char state = '?';
    pid_t parent = 0;
};

// From /proc/PID/stat: "PID (COMM) STATE PPID ...". COMM may hold blanks and
// parentheses, so it ends at the last ')'.
std::optional<ProcInfo> ReadProcInfo(pid_t pid) {
    const std::optional<std::string> stat = ReadWhole("/proc/" + std::to_string(pid) + "/stat");
    if (!stat) return std::nullopt;
    const size_t open = stat->find('(');
    const size_t close = stat->rfind(')');
    if (open == std::string::npos || close == std::string::npos || close + 4 > stat->size()) {
        return std::nullopt;
    }
    ProcInfo info;
    info.comm = stat->substr(open + 1, close - open - 1);
    info.state = (*stat)[close + 2];
    std::istringstream(stat->substr(close + 4)) >> info.parent;
    return info;
}

// A zombie still answers kill(pid, 0), so liveness is judged from /proc.
// Zombies that are ours (we are their subreaper) get reaped on the way.
bool IsLiveTuncfg(pid_t pid) {
    const std::optional<ProcInfo> info = ReadProcInfo(pid);
    if (!info || info->comm != "tuncfg") return false;
    if (info->state == 'Z' || info->state == 'X') {
        waitpid(pid, nullptr, WNOHANG);
        return false;
    }
    return true;
}

bool WaitUntilGone(pid_t pid, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (IsLiveTuncfg(pid)) {
        if (Clock::now() > deadline) return false;
        Pause();
    }
    return true;
}

void ReapTuncfgZombies() {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc", error)) {
        pid_t pid = 0;
        const std::string name = entry.path().filename().string();
        if (std::from_chars(name.data(), name.data() + name.size(), pid).ec != std::errc())
            continue;
        const std::optional<ProcInfo> info = ReadProcInfo(pid);
        if (info && info->parent == getpid() && info->comm == "tuncfg" && info->state == 'Z') {
            waitpid(pid, nullptr, WNOHANG);
        }
    }
}

size_t ParseCount(const std::string& text, size_t from, size_t to) {
    size_t value = 0;
    const auto [end, ec] = std::from_chars(text.data() + from, text.data() + to, value);
    if (ec != std::errc() || end != text.data() + to) {
        throw std::runtime_error("StandinScenario: malformed call log near byte " +
                                 std::to_string(from));
    }
    return value;
}

}  // namespace

std::string StandinShellQuote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

StandinScenario::StandinScenario() {
    const std::optional<std::string> tmp = GetEnv("TMPDIR");
    const std::string base = tmp && !tmp->empty() ? *tmp : "/tmp";
    for (int attempt = 0; home_.empty() && attempt < 20; ++attempt) {
        std::string pattern = base + "/corvane-standin-XXXXXX";
        if (!mkdtemp(pattern.data())) throw std::runtime_error("StandinScenario: mkdtemp failed");
        // Some outputs print the home path and tests search them for short
        // phrases; a random "pid" or "ok" in the name would fool them.
        const std::string name = pattern.substr(base.size());
        if (name.find("pid") != std::string::npos || name.find("ok") != std::string::npos) {
            rmdir(pattern.c_str());
            continue;
        }
        home_ = pattern;
    }
    if (home_.empty()) throw std::runtime_error("StandinScenario: no usable temporary folder");
    fs::create_directories(BinDir());

    prctl(PR_SET_CHILD_SUBREAPER, 1);

    savedHome_ = GetEnv("HOME");
    savedPath_ = GetEnv("PATH");
    savedControlDir_ = GetEnv("HAMACHI_STANDIN_DIR");
    const std::string oldPath = savedPath_ && !savedPath_->empty() ? *savedPath_ : "/usr/bin:/bin";
    setenv("HOME", home_.c_str(), 1);
    setenv("PATH", (BinDir() + ":" + STANDIN_BIN_DIR + ":" + oldPath).c_str(), 1);
    unsetenv("HAMACHI_STANDIN_DIR");
}

StandinScenario::~StandinScenario() {
    StopTuncfg();
    ReapTuncfgZombies();
    RestoreEnv("HOME", savedHome_);
    RestoreEnv("PATH", savedPath_);
    RestoreEnv("HAMACHI_STANDIN_DIR", savedControlDir_);
    std::error_code error;
    fs::remove_all(home_, error);
}

const std::string& StandinScenario::Home() const {
    return home_;
}
std::string StandinScenario::ConfigDir() const {
    return home_ + "/.hamachi/";
}
std::string StandinScenario::ControlDir() const {
    return home_ + "/.hamachi-standin/";
}
std::string StandinScenario::BinDir() const {
    return home_ + "/bin";
}

void StandinScenario::Configure(const std::string& identity, const std::string& nickname) {
    fs::create_directories(ConfigDir());
    fs::permissions(ConfigDir(), fs::perms::owner_all);
    WriteState("Identity   " + identity + "\nNickname   " + nickname + "\n");
}

void StandinScenario::Unconfigure() {
    fs::remove_all(ConfigDir());
}

void StandinScenario::WriteState(const std::string& bytes) {
    WriteWhole(ConfigDir() + "state", bytes);
}

void StandinScenario::SetRunning(bool running) {
    if (running) {
        WriteWhole(ConfigDir() + "running", std::to_string(kRunningPid) + "\n");
    } else {
        fs::remove(ConfigDir() + "running");
    }
}

void StandinScenario::SetLoggedIn(bool loggedIn) {
    if (loggedIn) {
        WriteWhole(ConfigDir() + "logged-in", "");
    } else {
        fs::remove(ConfigDir() + "logged-in");
    }
}

void StandinScenario::AddNetwork(const std::string& name, bool online, bool owner,
                                 const std::string& password, bool away) {
    RequireStorable(name);
    RequireStorable(password);
    std::vector<std::string> flags;
    if (online) flags.push_back("online");
    if (owner) flags.push_back("owner");
    if (away) flags.push_back("away");
    std::string joined;
    for (const std::string& flag : flags) joined += (joined.empty() ? "" : ",") + flag;
    AppendNetworkLine("network\t" + name + "\t" + joined + "\t" + password);
}

void StandinScenario::AddMember(const std::string& address, const std::string& nick,
                                StandinMark mark) {
    RequireStorable(address);
    RequireStorable(nick);
    const std::string text = "\n" + ReadConfigFile("networks").value_or("");
    if (text.find("\nnetwork\t") == std::string::npos) {
        throw std::logic_error("StandinScenario: AddMember needs a network first");
    }
    const char* state = mark == StandinMark::Online    ? "online"
                        : mark == StandinMark::Crossed ? "crossed"
                                                       : "offline";
    AppendNetworkLine("member\t" + address + "\t" + nick + "\t" + state);
}

void StandinScenario::ClearNetworks() {
    fs::remove(ConfigDir() + "networks");
}

void StandinScenario::AppendNetworkLine(const std::string& line) {
    WriteWhole(ConfigDir() + "networks", line + "\n", std::ios::app);
}

std::optional<std::string> StandinScenario::ReadConfigFile(const std::string& name) const {
    return ReadWhole(ConfigDir() + name);
}

void StandinScenario::SetAnswer(const std::string& key, const std::string& bytes) {
    fs::create_directories(ControlDir() + "answer");
    WriteWhole(ControlDir() + "answer/" + key, bytes);
}

void StandinScenario::ClearAnswer(const std::string& key) {
    fs::remove(ControlDir() + "answer/" + key);
}

void StandinScenario::SetHang(const std::string& key) {
    fs::create_directories(ControlDir() + "hang");
    WriteWhole(ControlDir() + "hang/" + key, "");
}

void StandinScenario::ReleaseHang(const std::string& key) {
    fs::remove(ControlDir() + "hang/" + key);
}

std::vector<StandinInvocation> StandinScenario::Invocations() const {
    const std::string log = ReadWhole(ControlDir() + "log").value_or("");
    std::vector<StandinInvocation> calls;
    const auto fieldEnd = [&](size_t from, char stop) {
        const size_t at = log.find(stop, from);
        if (at == std::string::npos)
            throw std::runtime_error("StandinScenario: truncated call log");
        return at;
    };
    for (size_t pos = 0; pos < log.size();) {
        StandinInvocation call;
        const size_t tab = fieldEnd(pos, '\t');
        const size_t newline = fieldEnd(tab, '\n');
        call.program = log.substr(pos, tab - pos);
        const size_t count = ParseCount(log, tab + 1, newline);
        pos = newline + 1;
        for (size_t i = 0; i < count; ++i) {
            const size_t lengthEnd = fieldEnd(pos, '\t');
            const size_t length = ParseCount(log, pos, lengthEnd);
            const size_t start = lengthEnd + 1;
            if (start + length >= log.size() || log[start + length] != '\n') {
                throw std::runtime_error("StandinScenario: malformed call log argument");
            }
            call.args.push_back(log.substr(start, length));
            pos = start + length + 1;
        }
        calls.push_back(std::move(call));
    }
    return calls;
}

std::vector<std::string> StandinScenario::Calls() const {
    std::vector<std::string> lines;
    for (const StandinInvocation& call : Invocations()) {
        std::string line = call.program;
        for (const std::string& arg : call.args) line += " " + arg;
        lines.push_back(line);
    }
    return lines;
}

void StandinScenario::ClearLog() {
    fs::remove(ControlDir() + "log");
}

void StandinScenario::AddProgram(const std::string& name, const std::string& scriptText) {
    const std::string path = BinDir() + "/" + name;
    WriteWhole(path, scriptText);
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
}

std::vector<pid_t> StandinScenario::RecordedTuncfgPids() const {
    std::vector<pid_t> pids;
    std::istringstream lines(ReadWhole(ControlDir() + "tuncfg.pids").value_or(""));
    for (pid_t pid; lines >> pid;) pids.push_back(pid);
    return pids;
}

pid_t StandinScenario::StartTuncfg() {
    const std::vector<pid_t> before = RecordedTuncfgPids();
    char name[] = "tuncfg";
    char* argv[] = {name, nullptr};
    pid_t starter = 0;
    if (posix_spawn(&starter, STANDIN_BIN_DIR "/tuncfg", nullptr, nullptr, argv, environ) != 0) {
        throw std::runtime_error("StandinScenario: cannot run " STANDIN_BIN_DIR "/tuncfg");
    }
    waitpid(starter, nullptr, 0);

    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < deadline) {
        for (pid_t pid : RecordedTuncfgPids()) {
            if (std::find(before.begin(), before.end(), pid) == before.end() && IsLiveTuncfg(pid)) {
                return pid;
            }
        }
        Pause();
    }
    throw std::runtime_error("StandinScenario: the tuncfg daemon did not come up");
}

void StandinScenario::StopTuncfg() {
    const std::vector<pid_t> pids = RecordedTuncfgPids();
    // Only processes still named tuncfg: a recorded pid may have been reused.
    for (pid_t pid : pids) {
        if (IsLiveTuncfg(pid)) kill(pid, SIGTERM);
    }
    for (pid_t pid : pids) {
        if (!WaitUntilGone(pid, std::chrono::seconds(3)) && IsLiveTuncfg(pid)) {
            kill(pid, SIGKILL);
            WaitUntilGone(pid, std::chrono::seconds(2));
        }
    }
    ReapTuncfgZombies();
    std::error_code error;
    fs::remove(ControlDir() + "tuncfg.pids", error);
}

std::string StandinScenario::RunShell(const std::string& commandLine) const {
    return RunShellResult(commandLine).out;
}

StandinShellResult StandinScenario::RunShellResult(const std::string& commandLine) const {
    std::fflush(nullptr);  // popen's child must not repeat our buffered output
    FILE* pipe = popen(commandLine.c_str(), "r");
    if (!pipe) throw std::runtime_error("StandinScenario: popen failed");
    StandinShellResult result;
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        result.out.append(buffer, got);
    }
    const int status = pclose(pipe);
    if (status >= 0 && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (status >= 0 && WIFSIGNALED(status)) result.exitCode = 128 + WTERMSIG(status);
    return result;
}
