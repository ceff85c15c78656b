// SPDX-License-Identifier: GPL-2.0-or-later
// What start-up makes sure of before the main window opens, and starting the
// client.  Each check says what the user is to be asked or told; the caller
// asks and tells, and goes on or ends the program.
#pragma once

#include <string>

struct Check {
    enum Result { Passed, Ask, Failed };
    Result result = Passed;
    // The question to ask (Ask), or the message to show (Failed; none when
    // the program ends without a word).
    std::string title;
    std::string text;
};

// Where the client can be obtained, shown when it is missing.
extern const char* const ClientDownloadAddress;

// tuncfg must run: root starts it; anyone else is asked first.
Check CheckTuncfg();
// After a Yes: tuncfg through sudo in a terminal, waited for.
Check LoadTuncfgWithSudo();
// The client program must answer.
Check CheckClientPresent();
// The client must have a configuration; the user is asked to make one.
Check CheckClientConfigured();
// After a Yes: "hamachi-init".
Check CreateConfiguration();
// Whether the client runs and is logged in, from the probe of the checks.
void TakeClientFlags();

// "hamachi start"; the client then gets about three seconds to come up,
// which the caller spends letting the window draw.
void StartClientCommand();
// The probe after that time: whether the client came up, and logged in or not.
Check ProbeStartedClient();
