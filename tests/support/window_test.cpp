// SPDX-License-Identifier: GPL-2.0-or-later
#include "window_test.h"

#include <chrono>
#include <thread>

#include "app/event_loop.h"
#include "app/startup.h"
#include "dialogs/nickname.h"
#include "mainwindow/main_window.h"
#include "mainwindow/roster_view.h"

void WindowTest::SetUp() {
    CoreTest::SetUp();
    int argc = 1;
    char name[] = "corvane";
    char* args[] = {name, nullptr};
    char** argv = args;
    ASSERT_TRUE(InitToolkit(&argc, &argv)) << "no X display";
    Boxes = &boxes;
    Client.ConfigDirOption = scenario.ConfigDir();
    Loop = {};
    Loop.LastCheck = Millis();  // no watchdog pass comes by surprise
    NicknameDialog = {};
    DropQueuedEvents();
    RegisterImages();
    CreatePopupMenus();
}

void WindowTest::TearDown() {
    HidePopupMenus();
    EndProgram();
    DropQueuedEvents();
    Boxes = nullptr;
    CoreTest::TearDown();
}

void WindowTest::OpenLoggedIn() {
    runner.Answer("hamachi", "version  : 1.0\npid      : 9\nstatus   : logged in\n");
    runner.Answer("hamachi list", List);
    Client.LoggedIn = true;
    ASSERT_TRUE(OpenMainWindow());
    ShowLoginButton(true);
    ShowClientState("on");
    UpdateRoster();
    runner.calls.clear();
}

void WindowTest::Settle() {
    HandlePendingWindowEvents();
    for (ProgramEvent event; PollEvent(&event);) Dispatch(event);
}

bool WindowTest::PumpUntil(const std::function<bool()>& done, int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        HandlePendingWindowEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
