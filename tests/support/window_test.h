// SPDX-License-Identifier: GPL-2.0-or-later
// A fixture for the windows: real GTK on the shared headless X server, the
// core's state as at a fresh start, a scripted runner, a fake clock and
// message boxes that are answered from a script.
#pragma once

#include "core_test.h"
#include "scripted_boxes.h"
#include "standin_scenario.h"
#include "toolkit/inspect.h"

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
