// SPDX-License-Identifier: GPL-2.0-or-later
// The command line.
#pragma once

#include <string>

struct Arguments {
    enum Request { Run, Help, Version, Refused };
    Request request = Run;
    // The client's configuration directory given with a leading "-c", with
    // its final slash; "" when not given.
    std::string configDir;
    // Start with the window behind the tray icon (for the session's autostart).
    bool hidden = false;
};

// "--help", "--version" and "--hidden" count anywhere but as the directory
// that follows a leading "-c" (once "--hidden" is taken out); an empty
// directory is refused.
Arguments ReadArguments(int argc, char** argv);

extern const char* const Usage;
