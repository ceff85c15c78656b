// SPDX-License-Identifier: GPL-2.0-or-later
// The core's fixture: its state as at a fresh start, a scripted runner and a fake clock.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "client/client_state.h"
#include "client/roster.h"
#include "client/runner.h"
#include "settings/options_file.h"

// Answers from a script and records each command line.
class ScriptedRunner final : public CommandRunner {
  public:
    CommandOutput Run(const std::string& commandLine) override {
        calls.push_back(commandLine);
        if (answerer) return answerer(commandLine);
        const auto answer = answers.find(commandLine);
        return answer != answers.end() ? answer->second : CommandOutput{"", true};
    }
    void Answer(const std::string& commandLine, const std::string& text) {
        answers[commandLine] = {text, true};
    }
    void CannotRun(const std::string& commandLine) { answers[commandLine] = {}; }

    std::map<std::string, CommandOutput> answers;               // unscripted lines print nothing
    std::function<CommandOutput(const std::string&)> answerer;  // instead of the map
    std::vector<std::string> calls;
};

// Moves only when the program pauses.
class FakeClock final : public Clock {
  public:
    int64_t NowMs() override { return now; }
    void Pause(int ms) override {
        now += ms;
        if (paused) paused(ms);
    }

    int64_t now = 7000000;
    std::function<void(int)> paused;  // sees the program's state at each pause
};

class CoreTest : public testing::Test {
  protected:
    void SetUp() override {
        Reset();
        Runner.Commands = &runner;
        Runner.Time = &clock;
    }
    void TearDown() override { Reset(); }
    static void Reset() {
        Client = {};
        Roster = {};
        Options = {};
        Runner = {};
    }

    ScriptedRunner runner;
    FakeClock clock;
};
