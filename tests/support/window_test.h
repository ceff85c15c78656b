// SPDX-License-Identifier: GPL-2.0-or-later
// The windows' fixture: the core's, real GTK on the shared headless X server, and message
// boxes answered from a script.
#pragma once

#include <deque>

#include "core_test.h"
#include "standin_scenario.h"
#include "toolkit/inspect.h"
#include "toolkit/toolkit.h"

// Boxes that are not shown: each is recorded as "Title|Text" and takes the
// next scripted answer (or asks the answerer); none left counts as closed.
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
    // The chooser is recorded as "Title|proposed path" and answers `chosen`.
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

class WindowTest : public CoreTest {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Opens the main window in the logged-in look, the client's list showing
    // [alpha] with member bob, and dan under [beta].
    void OpenLoggedIn();
    // Dispatches what the window system and the program posted, as the loop does.
    void Settle();
    // Lets GTK work in real time until `done` holds or `ms` passed.
    bool PumpUntil(const std::function<bool()>& done, int ms = 3000);

    static constexpr const char* List =
        " * [alpha]\n    *  5.1.2.3          bob\n   [beta]\n       5.1.2.5          dan\n";
    ScriptedBoxes boxes;
    StandinScenario scenario;  // HOME, and the client's folder (not made yet)
};
