// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// One call of a stand-in program as recorded in the control folder's log.
struct StandinInvocation {
    std::string program;
    std::vector<std::string> args;
    bool operator==(const StandinInvocation&) const = default;
};

// A throw-away home folder with the stand-in client first on PATH.
//
// The process also becomes a child subreaper (Linux), so what the program
// under test starts and leaves behind is re-parented here.
//
// Helpers throw std::runtime_error when the files cannot be written; inside a
// test body GoogleTest reports that as a failure.
class StandinScenario {
  public:
    StandinScenario();
    ~StandinScenario();
    StandinScenario(const StandinScenario&) = delete;
    StandinScenario& operator=(const StandinScenario&) = delete;

    const std::string& Home() const { return home_; }
    std::string ConfigDir() const { return home_ + "/.hamachi/"; }
    std::string ControlDir() const { return home_ + "/.hamachi-standin/"; }
    std::string BinDir() const { return home_ + "/bin"; }  // first on PATH

    // Client state, written the way the client itself keeps it.
    void Configure(const std::string& identity, const std::string& nickname);
    void WriteState(const std::string& bytes);
    // The running file holds kRunningPid, which the probe shows.
    static constexpr int kRunningPid = 4242;
    void SetRunning(bool running);
    void SetLoggedIn(bool loggedIn);
    void AddNetwork(const std::string& name, bool online, bool owner,
                    const std::string& password = "", bool away = false);
    void ClearNetworks();
    // Contents of a file in the configuration folder, if it exists.
    std::optional<std::string> ReadConfigFile(const std::string& name) const;

    // While hung, the command of that key waits (until SIGTERM).
    void SetHang(const std::string& key, bool hung);

    // What reached the stand-in, oldest first.
    std::vector<StandinInvocation> Invocations() const;
    // Each invocation as program and arguments joined by single blanks.
    std::vector<std::string> Calls() const;
    void ClearLog();

    // An executable file BinDir()+"/"+name holding the script text.
    void AddProgram(const std::string& name, const std::string& scriptText);

    // A ps and a tuncfg of the home's own, so that a tuncfg runs (or runs
    // once started) as far as the program can tell.
    void FakeTuncfg(bool running);

    // Runs the line through /bin/sh -c; returns its stdout. The exit code is
    // 128 + signal number when the shell was killed.
    std::string RunShell(const std::string& commandLine, int* exitCode = nullptr) const;

  private:
    void AppendNetworkLine(const std::string& line);

    std::string home_;
    std::vector<std::pair<const char*, std::optional<std::string>>> savedEnv_;
};
