// SPDX-License-Identifier: GPL-2.0-or-later
// What Corvane knows of the client: where it keeps its files, its identity,
// nickname, version and status, and whether it runs and is logged in.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "client/runner.h"

struct ClientState {
    std::string ConfigDir;  // always ends with "/"
    std::string Identity;
    std::string Nickname;
    std::string Version;
    std::string StatusText;
    bool Running = false;        // as found at start-up
    bool LoggedIn = false;       // as Corvane last saw
    bool StoppedByUser = false;  // Exit stopped it: no restart is offered
    std::string LatestOutput;    // of the latest probe ("hamachi")
    std::string CurrentUser;     // USER, read once at start-up
    std::string ConfigDirOption;  // given with -c, with its final slash; "" when not
};
extern ClientState Client;

// Which lines the state file held.
struct StateFileFound {
    bool identity = false;
    bool nickname = false;
};

// Determines the directory, reads the state file and probes for the version.
StateFileFound ReadClientState();
// Runs the probe, its output kept as the latest (Client.LatestOutput, not
// copied: a client may print megabytes); false when it could not be run.
bool RunProbe();

// Pieces of the client's texts.
struct StateLine {
    std::string key;
    std::string value;
};
StateLine SplitStateLine(const std::string& line);
// Every line of a state file's content, split; a line ends at LF, CR or CR LF.
std::vector<StateLine> StateFileLines(const std::string& content);
// The version from the first line holding "version"; false when none does.
bool ProbeVersion(std::string_view probe, std::string* version);
// The status line's value; "offline" when the probe has no status line.
std::string ProbeStatusText(std::string_view probe);
