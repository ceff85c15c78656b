#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "standin_scenario.h"

// A shell command line that hands every argument over unchanged.
inline std::string CommandLine(const std::string& program, const std::vector<std::string>& args) {
    std::string line = program;
    for (const std::string& arg : args) {
        line += " '";
        for (char c : arg) line += c == '\'' ? std::string("'\\''") : std::string(1, c);
        line += "'";
    }
    return line;
}

inline bool Contains(const std::string& text, const std::string& phrase) {
    return text.find(phrase) != std::string::npos;
}

// Every '|'-separated phrase of `present` must be in `out`, none of `absent`.
inline void ExpectPhrases(const std::string& out, const std::string& present,
                          const std::string& absent) {
    for (const auto& [phrases, wanted] : {std::pair{present, true}, std::pair{absent, false}}) {
        std::istringstream parts(phrases);
        for (std::string phrase; std::getline(parts, phrase, '|');) {
            EXPECT_EQ(Contains(out, phrase), wanted) << '"' << phrase << "\" in:\n" << out;
        }
    }
}

// The client's state as the front-end reads it from the probe.
inline std::string ProbedState(const StandinScenario& scenario) {
    const std::string probe = scenario.RunShell("hamachi");
    return Contains(probe, "Cannot find configuration directory") ? "none"
           : Contains(probe, "does not seem to be running")       ? "stopped"
           : Contains(probe, ": logged in")                       ? "in"
                                                                  : "out";
}

// Configured with the state named as ProbedState names it.
inline void PutInState(StandinScenario& scenario, const std::string& state) {
    if (state == "none") return;
    scenario.Configure("5.3.2.1", "me");
    scenario.SetRunning(state != "stopped");
    scenario.SetLoggedIn(state == "in");
}
