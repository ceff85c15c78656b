// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

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

// A throw-away home with the stand-in client first on PATH; the process becomes a subreaper,
// so what the program leaves behind comes here.  Helpers throw when a file cannot be written.
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

    // The client's folder with its state file, as the client keeps them.
    void Configure(const std::string& identity, const std::string& nickname);
    // A file of the client's folder ("state", "networks"), or a mark that
    // is there or not ("running", "logged-in").
    void Write(const std::string& name, const std::string& bytes);
    void Mark(const std::string& name, bool set);
    // What reached the stand-in, oldest first.
    std::vector<StandinInvocation> Invocations() const;
    // An executable file BinDir()+"/"+name holding the script text.
    void AddProgram(const std::string& name, const std::string& scriptText);
    // A ps and a tuncfg of the home's own: tuncfg runs, or runs once started.
    void FakeTuncfg(bool running);

  private:
    std::string home_;
    std::vector<std::pair<const char*, std::optional<std::string>>> savedEnv_;
};
