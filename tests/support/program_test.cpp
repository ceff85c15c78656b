#include "program_test.h"

#include <chrono>

#include "client/client_state.h"
#include "client/command_runner.h"
#include "client/roster.h"
#include "client/startup.h"
#include "mainwindow/event_loop.h"
#include "mainwindow/identifiers.h"
#include "mainwindow/login.h"
#include "mainwindow/main_window.h"

namespace {

[[noreturn]] void ThrowEnded(int status) {
    throw ProgramEnded{status};
}

}  // namespace

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

int64_t FakeTime::Paused() const {
    int64_t total = 0;
    for (int ms : pauses_) total += ms;
    return total;
}

void ResetProgramState() {
    ClientConfigDir.clear();
    ClientIdentity.clear();
    ClientNickname.clear();
    ClientVersion.clear();
    ClientStatusText.clear();
    ClientRunning = false;
    ClientLoggedIn = false;
    LatestClientOutput.clear();
    ConfigDirOption.clear();
    CurrentUser.clear();
    CommandBusy = false;
    LastListOutput.clear();
    QuitRequested = false;
    LastCheck = 0;
    ClientStoppedByUser = false;
}

void ProgramTest::SetUp() {
    setenv("USER", "tester", 1);
    int argc = 1;
    char name[] = "corvane";
    char* args[] = {name, nullptr};
    char** argv = args;
    ASSERT_TRUE(InitToolkit(&argc, &argv)) << "no X display";
    ResetProgramState();
    TerminateProcess = ThrowEnded;
    time.Install();
    ScriptBoxes({});
    DropQueuedEvents();
    RegisterImages();
    CreatePopupMenus();
}

void ProgramTest::TearDown() {
    RemoveTrayIcon();
    HidePopupMenus();
    CloseAllWindows();
    FreeMenus();
    FreeImages();
    DropQueuedEvents();
    StopScriptingBoxes();
    time.Uninstall();
    TerminateProcess = std::exit;
    ResetProgramState();
}

void ProgramTest::RunningClient(bool loggedIn) {
    scenario.Configure(Identity, Nickname);
    scenario.SetRunning(true);
    scenario.SetLoggedIn(loggedIn);
}

void ProgramTest::ClientWithOneNetwork() {
    RunningClient(true);
    scenario.AddNetwork("alpha", true, true);
    scenario.AddMember("5.1.2.3", "bob", StandinMark::Online);
}

void ProgramTest::OpenMain() {
    ConfigDirOption = scenario.ConfigDir();
    ASSERT_TRUE(OpenMainWindow());
}

int ProgramTest::ExitStatusOf(const std::function<void()>& body) {
    try {
        body();
    } catch (const ProgramEnded& ended) {
        return ended.status;
    }
    return -1;
}

bool ProgramTest::PumpUntil(const std::function<bool()>& done, int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        HandlePendingWindowEvents();
        struct timespec step {
            0, 5000000
        };
        nanosleep(&step, nullptr);
    }
    return true;
}

std::vector<std::string> ProgramTest::Boxes() const {
    std::vector<std::string> shown;
    for (const BoxRecord& box : ScriptedBoxLog()) shown.push_back(box.title + "|" + box.text);
    return shown;
}
