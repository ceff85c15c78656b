// SPDX-License-Identifier: GPL-2.0-or-later
// Message boxes that are not shown: each takes the next scripted answer (or
// asks an answerer) and is recorded as "Title|Text".  A box with no answer
// left counts as closed.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/toolkit.h"

class ScriptedBoxes final : public MessageBoxes {
  public:
    void Ok(const std::string& title, const std::string& text) override {
        shown.push_back(title + "|" + text);
    }
    BoxAnswer Ask(const std::string& title, const std::string& text) override {
        shown.push_back(title + "|" + text);
        if (answerer) return answerer();
        if (answers.empty()) return BoxAnswer::Closed;
        const BoxAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // The proposed path is recorded; the chooser answers `chosen`.
    std::string ChooseSaveFile(const std::string& title, const std::string& proposed,
                               const std::vector<FileFilter>&) override {
        shown.push_back(title + "|" + proposed);
        return chosen;
    }

    std::deque<BoxAnswer> answers;
    std::function<BoxAnswer()> answerer;  // sees the program's state as each box comes
    std::string chosen;
    std::vector<std::string> shown;
};
