// SPDX-License-Identifier: GPL-2.0-or-later
// Corvane's own settings, kept in the "options" file in the client's
// configuration directory: read once at start-up (and created with the
// defaults when missing), rewritten whole by the status window's Update.
#pragma once

#include <cstdint>
#include <string>

// Evicting a member asks first when this is exactly 1.
extern int8_t ConfirmEvict;
// The remote-desktop viewer and server the member menu starts, each with
// the parameters put before the member's address.
extern std::string VNCViewer;
extern std::string VNCViewerParms;
extern std::string GiveControlApp;
extern std::string GiveControlParms;

// Reads configDir + "options" (configDir ends with "/"); writes the file
// with the values read when nothing is at that path.
void LoadOptions(const std::string& configDir);
// Rewrites the file from the five settings as held.
void SaveOptions(const std::string& configDir);
