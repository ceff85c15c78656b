// SPDX-License-Identifier: GPL-2.0-or-later
// The options file's content, read for Corvane's five settings and for a
// key taken from the input itself.
#include <cstdint>
#include <string>

#include "settings/prefs_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    PrefsFile::OpenText(text);
    PrefsFile::ReadNumber("ConfirmEvict", 1);
    const std::string keys[] = {"VNCViewer", "VNCViewerParms", "GiveControlApp", "GiveControlParms",
                                text.substr(0, text.find('='))};
    for (const std::string& key : keys) {
        const std::string value = PrefsFile::ReadText(key, "");
        if (value.find_first_of("\r\n") != std::string::npos) __builtin_trap();
        if (!value.empty() && (value.back() == ' ' || value.back() == '\t')) __builtin_trap();
    }
    PrefsFile::Close();
    return 0;
}
