// SPDX-License-Identifier: GPL-2.0-or-later
// Logging the client in and out, and stopping it; each judged by the
// client's answer.
#pragma once

#include <string>

// A login succeeded when the answer holds "ok" as a word of its own (no
// letter or digit on either side) or "logged in".
bool LoginAccepted(const std::string& answer);
// A logout succeeded when the answer holds ".. ok".
bool LogoutAccepted(const std::string& answer);

// "hamachi login"; true, and the client counts as logged in, when accepted.
bool LogIn();
// "hamachi logout"; true, and the client counts as logged out, when accepted.
bool LogOut();
// "hamachi stop"; its answer is not read.
void StopClient();
// "hamachi stop", a second, "hamachi start": the client reads its settings anew.
void ReloadClient();
