// SPDX-License-Identifier: GPL-2.0-or-later
// A fixture that runs the program's own code in the test process: real GTK on
// the shared X server, the stand-in client in a throw-away home, a fake clock
// and scripted message boxes.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fake_time.h"
#include "standin_scenario.h"
#include "toolkit/toolkit.h"

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A configured, running client with the identity and nickname below.
    void RunningClient(bool loggedIn);
    // A running, logged-in client whose one network "alpha" holds member bob.
    void ClientWithOneNetwork();
    // Opens the main window as start-up does, without the start-up checks.
    void OpenMain();
    // Opens the main window in the logged-in look with the roster filled.
    void OpenMainLoggedIn();
    // Lets GTK work in real time until `done` holds or `ms` passed.
    bool PumpUntil(const std::function<bool()>& done, int ms = 3000);
    // The scripted boxes so far, as "Title|Text".
    std::vector<std::string> Boxes() const;

    static constexpr const char* Identity = "5.44.1.9";
    static constexpr const char* Nickname = "ravenfan";

    StandinScenario scenario;
    FakeTime time;
};
