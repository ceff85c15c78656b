// SPDX-License-Identifier: GPL-2.0-or-later
// Sends one desktop notification through the toolkit, as the program would,
// with the tray icon up, then lets the event loop run for a while.
//     notification_sender SUMMARY BODY MILLISECONDS
// Prints how long Notify itself took, in microseconds.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "common/identifiers.h"
#include "toolkit/toolkit.h"

int main(int argc, char** argv) {
    if (argc != 4 || !InitToolkit(&argc, &argv)) return 2;
    RegisterImages();
    AddTrayIcon(0, ImageTray, "Corvane");
    const auto before = std::chrono::steady_clock::now();
    Notify(argv[1], argv[2]);
    const auto took = std::chrono::steady_clock::now() - before;
    std::printf("%lld\n", static_cast<long long>(
                              std::chrono::duration_cast<std::chrono::microseconds>(took).count()));
    const int32_t end = Millis() + std::atoi(argv[3]);
    for (int32_t left; (left = end - Millis()) > 0;) {
        HandlePendingWindowEvents();
        WaitForActivity(left);
    }
    RemoveTrayIcon();
    FreeImages();
    return 0;
}
