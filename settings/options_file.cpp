// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/options_file.h"

#include <sys/stat.h>

#include "settings/prefs_file.h"

OptionValues Options;

namespace {

std::string OptionsPath(const std::string& configDir) {
    return configDir + "options";
}

// Only the low eight bits count, as a signed byte: 257 reads as 1.
int8_t ReadByte(const std::string& key, long fallback) {
    return static_cast<int8_t>(PrefsFile::ReadNumber(key, fallback) & 0xFF);
}

}  // namespace

void LoadOptions(const std::string& configDir) {
    const std::string path = OptionsPath(configDir);
    const OptionValues defaults;
    PrefsFile::OpenForReading(path);
    Options.ConfirmEvict = ReadByte("ConfirmEvict", defaults.ConfirmEvict);
    Options.VNCViewer = PrefsFile::ReadText("VNCViewer", defaults.VNCViewer);
    Options.VNCViewerParms = PrefsFile::ReadText("VNCViewerParms", defaults.VNCViewerParms);
    Options.GiveControlApp = PrefsFile::ReadText("GiveControlApp", defaults.GiveControlApp);
    Options.GiveControlParms = PrefsFile::ReadText("GiveControlParms", defaults.GiveControlParms);
    Options.Notifications = ReadByte("Notifications", defaults.Notifications);
    PrefsFile::Close();
    // A file that exists but cannot be read (or a directory) is left alone.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) SaveOptions(configDir);
}

void SaveOptions(const std::string& configDir) {
    PrefsFile::CreateForWriting(OptionsPath(configDir));
    PrefsFile::WriteNumber("ConfirmEvict", Options.ConfirmEvict);
    PrefsFile::WriteText("VNCViewer", Options.VNCViewer);
    PrefsFile::WriteText("VNCViewerParms", Options.VNCViewerParms);
    PrefsFile::WriteText("GiveControlApp", Options.GiveControlApp);
    PrefsFile::WriteText("GiveControlParms", Options.GiveControlParms);
    PrefsFile::WriteNumber("Notifications", Options.Notifications);
    PrefsFile::Close();
}
