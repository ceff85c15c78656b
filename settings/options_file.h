// SPDX-License-Identifier: GPL-2.0-or-later
// Corvane's own settings, kept in the "options" file in the client's
// configuration directory: read once at start-up (and created with the
// defaults when missing), rewritten whole by the status window's Update.
#pragma once

#include <cstdint>
#include <string>

struct OptionValues {
    // Evicting a member asks first when this is exactly 1.
    int8_t ConfirmEvict = 1;
    // The remote-desktop viewer and server the member menu starts, each with
    // the parameters put before the member's address.
    std::string VNCViewer = "vncviewer";
    std::string VNCViewerParms;
    std::string GiveControlApp = "x11vnc";
    std::string GiveControlParms = "-connect";
    // Desktop notifications of members coming and going; 0 turns them off.
    int8_t Notifications = 1;
};
extern OptionValues Options;

// Reads configDir + "options" (configDir ends with "/"); writes the file
// with the values read when nothing is at that path.
void LoadOptions(const std::string& configDir);
// Rewrites the file from the settings as held.
void SaveOptions(const std::string& configDir);
