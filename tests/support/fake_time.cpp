// SPDX-License-Identifier: GPL-2.0-or-later
#include "fake_time.h"

#include "toolkit/toolkit.h"

void FakeTime::Install() {
    SetClockForTests([this] { return now_; });
    SetPauseForTests([this](int ms) {
        pauses_.push_back(ms);
        now_ += ms;
    });
}

void FakeTime::Uninstall() {
    SetClockForTests(nullptr);
    SetPauseForTests(nullptr);
}
