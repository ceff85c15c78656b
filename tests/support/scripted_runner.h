// SPDX-License-Identifier: GPL-2.0-or-later
// A command runner that answers from a script and records each command line.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "client/runner.h"

class ScriptedRunner final : public CommandRunner {
  public:
    CommandOutput Run(const std::string& commandLine) override {
        calls.push_back(commandLine);
        if (answerer) return answerer(commandLine);
        const auto answer = answers.find(commandLine);
        return answer != answers.end() ? answer->second : CommandOutput{"", true};
    }
    // What a command line prints; unscripted lines print nothing.
    void Answer(const std::string& commandLine, const std::string& text) {
        answers[commandLine] = {text, true};
    }
    void CannotRun(const std::string& commandLine) { answers[commandLine] = {}; }

    std::map<std::string, CommandOutput> answers;
    std::function<CommandOutput(const std::string&)> answerer;  // instead of the map
    std::vector<std::string> calls;
};
