#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "standin_scenario.h"

// A shell command line that hands every argument over unchanged.
inline std::string CommandLine(const std::string& program, const std::vector<std::string>& args) {
    std::string line = program;
    for (const std::string& arg : args) line += " " + StandinShellQuote(arg);
    return line;
}

// "a|b" -> {"a", "b"}; "" -> {}.
inline std::vector<std::string> Phrases(const std::string& joined) {
    std::vector<std::string> phrases;
    std::istringstream parts(joined);
    for (std::string part; std::getline(parts, part, '|');) phrases.push_back(part);
    return phrases;
}

inline bool Contains(const std::string& text, const std::string& phrase) {
    return text.find(phrase) != std::string::npos;
}

inline void ExpectPhrases(const std::string& out, const std::vector<std::string>& present,
                          const std::vector<std::string>& absent) {
    for (const std::string& phrase : present) {
        EXPECT_TRUE(Contains(out, phrase)) << "missing \"" << phrase << "\" in:\n" << out;
    }
    for (const std::string& phrase : absent) {
        EXPECT_FALSE(Contains(out, phrase)) << "unwanted \"" << phrase << "\" in:\n" << out;
    }
}
