// SPDX-License-Identifier: GPL-2.0-or-later
// What Corvane knows of the client: its directory, identity, version, status.
#pragma once

#include <string>
#include <vector>

extern std::string ClientConfigDir;  // always ends with "/"
extern std::string ClientIdentity;
extern std::string ClientNickname;
extern std::string ClientVersion;
extern std::string ClientStatusText;
extern bool ClientRunning;
extern bool ClientLoggedIn;
// The latest output of the probe ("hamachi").
extern std::string LatestClientOutput;
// The directory given with "-c", with its final slash; "" when not given.
extern std::string ConfigDirOption;

// Takes "-c DIR" when it stands first among the arguments.
void ParseArguments(int argc, char** argv);

// Determines the directory, reads the state file and probes for the version.
void ReadClientState();
// "on": the logged-in look; anything else: the logged-out look.
void ShowClientState(const std::string& mode);

// WaitForRunner, then "hamachi"; the output is kept as the latest.
std::string RunProbe();

// Pieces of the client's texts.
struct StateLine {
    std::string key;
    std::string value;
};
StateLine SplitStateLine(const std::string& line);
// Every line of a state file's content, split; a line ends at LF, CR or CR LF.
std::vector<StateLine> StateFileLines(const std::string& content);
// The version from the first line holding "version"; false when none does.
bool ProbeVersion(const std::string& probe, std::string* version);
// The status line's value; "offline" when the probe has no status line.
std::string ProbeStatusText(const std::string& probe);
