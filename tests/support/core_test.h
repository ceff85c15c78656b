// SPDX-License-Identifier: GPL-2.0-or-later
// A fixture for the core: its state as at a fresh start, a scripted runner
// and a fake clock; no display.
#pragma once

#include <gtest/gtest.h>

#include "client/client_state.h"
#include "client/roster.h"
#include "fake_clock.h"
#include "scripted_runner.h"
#include "settings/options_file.h"

class CoreTest : public testing::Test {
  protected:
    void SetUp() override {
        Client = {};
        Roster = {};
        Options = {};
        Runner = {};
        Runner.Commands = &runner;
        Runner.Time = &clock;
    }
    void TearDown() override {
        Client = {};
        Roster = {};
        Options = {};
        Runner = {};
    }

    ScriptedRunner runner;
    FakeClock clock;
};
