// SPDX-License-Identifier: GPL-2.0-or-later
#include <time.h>

#include <cerrno>

#include "toolkit/internal.h"

namespace {

std::function<int64_t()> ClockOverride;
std::function<void(int)> PauseOverride;
int64_t BaseSeconds = -1;

}  // namespace

int32_t Millis() {
    if (ClockOverride) return static_cast<int32_t>(ClockOverride());
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (BaseSeconds < 0) BaseSeconds = now.tv_sec;
    int64_t ms = (now.tv_sec - BaseSeconds) * 1000 + now.tv_nsec / 1000000;
    return static_cast<int32_t>(static_cast<uint32_t>(ms));
}

void Pause(int ms) {
    if (ms <= 0) return;
    if (PauseOverride) {
        PauseOverride(ms);
        return;
    }
    timespec left{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

bool PauseOverridden() {
    return static_cast<bool>(PauseOverride);
}

void SetClockForTests(std::function<int64_t()> clock) {
    ClockOverride = std::move(clock);
}

void SetPauseForTests(std::function<void(int)> pause) {
    PauseOverride = std::move(pause);
}
