// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/runner.h"

#include "client/process.h"
#include "client/shell.h"

RunnerState Runner;

namespace {

constexpr int RunnerStepMs = 100;

// Counts from the whole second of its first reading.
class SystemClock final : public Clock {
  public:
    int64_t NowMs() override {
        const int64_t now = MonotonicMs();
        if (baseMs_ < 0) baseMs_ = now / 1000 * 1000;
        return now - baseMs_;
    }
    void Pause(int ms) override { SleepMs(ms); }

  private:
    int64_t baseMs_ = -1;
};

Clock& TheClock() {
    static SystemClock system;
    return Runner.Time != nullptr ? *Runner.Time : system;
}

CommandRunner& TheShell() {
    static ShellRunner shell;
    return Runner.Commands != nullptr ? *Runner.Commands : shell;
}

}  // namespace

CommandOutput RunCommandAtOnce(const std::string& commandLine) {
    if (Runner.CommandBusy) return {};
    Runner.CommandBusy = true;
    CommandOutput output = TheShell().Run(commandLine);
    Runner.CommandBusy = false;
    if (output.cutShort && Runner.CommandCutShort) Runner.CommandCutShort(commandLine);
    return output;
}

// On one thread no command can be running here, so one step is all it takes.
CommandOutput RunCommand(const std::string& commandLine) {
    Pause(RunnerStepMs);
    if (Runner.BeforeCommand) Runner.BeforeCommand();
    return RunCommandAtOnce(commandLine);
}

int32_t Millis() {
    return static_cast<int32_t>(static_cast<uint32_t>(TheClock().NowMs()));
}

void Pause(int ms) {
    if (ms > 0) TheClock().Pause(ms);
}

std::string ShellQuote(const std::string& value) {
    std::string quoted = "'";
    for (char c : value) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    quoted += '\'';
    return quoted;
}
