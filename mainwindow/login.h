// SPDX-License-Identifier: GPL-2.0-or-later
// Logging in and out with the login button, and leaving through "Exit".
#pragma once

void ToggleLogin();

enum class ExitChoice {
    AfterThisPass,  // the program ends when the loop's pass is done
    AtOnce,         // the program ends without finishing the pass
};
// Asks whether to stop the client too (the question depends on whether it
// is logged in); the program ends whatever the answer.
ExitChoice ConfirmExit();
