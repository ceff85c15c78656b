// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/identity_backup.h"

#include <sys/stat.h>
#include <unistd.h>

#include "client/client_state.h"
#include "client/launcher.h"
#include "client/shell.h"
#include "common/pending_file.h"

namespace {

Message Failed(const std::string& path) {
    return {"Hamachi Error", "The identity backup could not be written to " + path + "."};
}

}  // namespace

std::string DefaultBackupPath() {
    return GetEnv("HOME") + "/Hamachi_" + Client.Identity + "_backup.tar";
}

BackupTarget InspectBackupTarget(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return errno == ENOENT ? BackupTarget::Absent
                                                                : BackupTarget::Refused;
    if (!S_ISREG(info.st_mode) || info.st_uid != geteuid()) return BackupTarget::Refused;
    return info.st_size > 0 ? BackupTarget::HasContent : BackupTarget::Empty;
}

Message RefusedTargetMessage(const std::string& path) {
    return {"Hamachi Error", "No backup was made: " + path + " is not a file of your own."};
}

std::optional<Message> WriteBackup(const std::string& path) {
    // The archive holds the private key: it is the user's alone from the start.
    std::optional<PendingFile> archive = PendingFile::Create(FolderOf(path), 0600);
    if (!archive ||
        RunProgramInto({"tar", "cf", "-", Client.ConfigDir}, archive->Descriptor(),
                       CommandTimeLimitMs) != 0 ||
        !archive->Publish(path)) {
        return Failed(path);
    }
    return std::nullopt;
}
