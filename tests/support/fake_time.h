// SPDX-License-Identifier: GPL-2.0-or-later
// A clock that moves only when the program pauses; each pause is recorded.
#pragma once

#include <cstdint>
#include <vector>

class FakeTime {
  public:
    void Install();
    void Uninstall();
    int64_t Now() const { return now_; }
    void Advance(int64_t ms) { now_ += ms; }
    const std::vector<int>& Pauses() const { return pauses_; }
    void ClearPauses() { pauses_.clear(); }

  private:
    int64_t now_ = 7000000;
    std::vector<int> pauses_;
};
