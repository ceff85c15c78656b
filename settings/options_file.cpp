// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/options_file.h"

#include <sys/stat.h>

#include "settings/prefs_file.h"

int8_t ConfirmEvict = 1;
std::string VNCViewer = "vncviewer";
std::string VNCViewerParms;
std::string GiveControlApp = "x11vnc";
std::string GiveControlParms = "-connect";

namespace {

std::string OptionsPath(const std::string& configDir) {
    return configDir + "options";
}

}  // namespace

void LoadOptions(const std::string& configDir) {
    const std::string path = OptionsPath(configDir);
    PrefsFile::OpenForReading(path);
    // Only the low eight bits count, as a signed byte: 257 reads as 1.
    ConfirmEvict = static_cast<int8_t>(PrefsFile::ReadNumber("ConfirmEvict", 1) & 0xFF);
    VNCViewer = PrefsFile::ReadText("VNCViewer", "vncviewer");
    VNCViewerParms = PrefsFile::ReadText("VNCViewerParms", "");
    GiveControlApp = PrefsFile::ReadText("GiveControlApp", "x11vnc");
    GiveControlParms = PrefsFile::ReadText("GiveControlParms", "-connect");
    PrefsFile::Close();
    // A file that exists but cannot be read (or a directory) is left alone.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) SaveOptions(configDir);
}

void SaveOptions(const std::string& configDir) {
    PrefsFile::CreateForWriting(OptionsPath(configDir));
    PrefsFile::WriteNumber("ConfirmEvict", ConfirmEvict);
    PrefsFile::WriteText("VNCViewer", VNCViewer);
    PrefsFile::WriteText("VNCViewerParms", VNCViewerParms);
    PrefsFile::WriteText("GiveControlApp", GiveControlApp);
    PrefsFile::WriteText("GiveControlParms", GiveControlParms);
    PrefsFile::Close();
}
