// SPDX-License-Identifier: GPL-2.0-or-later
// A clock that moves only when the program pauses; each pause is recorded.
#pragma once

#include <vector>

#include "client/runner.h"

class FakeClock final : public Clock {
  public:
    int64_t NowMs() override { return now; }
    void Pause(int ms) override {
        pauses.push_back(ms);
        now += ms;
    }

    int64_t now = 7000000;
    std::vector<int> pauses;
};
