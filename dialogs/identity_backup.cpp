// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/identity_backup.h"

#include <sys/stat.h>

#include <string>

#include "client/client_state.h"
#include "client/command_runner.h"
#include "toolkit/toolkit.h"

namespace {

std::string DefaultBackupPath() {
    return GetEnv("HOME") + "/Hamachi_" + ClientIdentity + "_backup.tar";
}

}  // namespace

void BackupIdentity() {
    const std::string path = ChooseSaveFile("Save tar backup to", DefaultBackupPath(),
                                            {{"Tar (*.tar)", "*.tar"}, {"All files (*.*)", "*"}});
    if (path.empty()) return;
    struct stat info {};
    const bool exists = stat(path.c_str(), &info) == 0;
    if (exists && info.st_size > 0 && !AskYesNo("Hamachi", "Files exists, overwrite?")) return;
    // The archive holds the private key: tar creates it under a umask of 077,
    // and a file it overwrites is made private first, as a new one would be.
    if (exists && S_ISREG(info.st_mode)) chmod(path.c_str(), 0600);
    LaunchProgramArgs("tar", {"cf", path, ClientConfigDir}, "", false, true);
}
