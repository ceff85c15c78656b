// A fixture that runs the program's own code in the test process: real GTK on
// the shared X server, the stand-in client in a throw-away home, a fake clock,
// scripted message boxes, and an end of program that does not end the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "standin_scenario.h"
#include "toolkit/toolkit.h"

// Thrown where the program would end its process.
struct ProgramEnded {
    int status = 0;
};

// A clock that moves only when the program pauses; each pause is recorded.
class FakeTime {
  public:
    void Install();
    void Uninstall();
    int64_t Now() const { return now_; }
    void Advance(int64_t ms) { now_ += ms; }
    const std::vector<int>& Pauses() const { return pauses_; }
    int64_t Paused() const;
    void ClearPauses() { pauses_.clear(); }

  private:
    int64_t now_ = 7000000;
    std::vector<int> pauses_;
};

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
    // Runs `body`; returns the exit status if the program ended, else -1.
    int ExitStatusOf(const std::function<void()>& body);
    // Lets GTK work in real time until `done` holds or `ms` passed.
    bool PumpUntil(const std::function<bool()>& done, int ms = 3000);
    // The scripted boxes so far, as "Title|Text".
    std::vector<std::string> Boxes() const;

    static constexpr const char* Identity = "5.44.1.9";
    static constexpr const char* Nickname = "ravenfan";

    StandinScenario scenario;
    FakeTime time;
};

// Clears every global the program keeps, as at a fresh start.
void ResetProgramState();
