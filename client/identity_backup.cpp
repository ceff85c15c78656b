// SPDX-License-Identifier: GPL-2.0-or-later
#include "client/identity_backup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "client/client_state.h"
#include "client/launcher.h"
#include "client/process.h"
#include "client/shell.h"

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

Message Failed(const std::string& path) {
    return {"Hamachi Error", "The identity backup could not be written to " + path + "."};
}

// A private file in `folder` with no name yet; -1 when the folder's file
// system cannot make one.
int UnnamedPrivateFile(const std::string& folder) {
    return open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
}

// Gives the unnamed file `path`, replacing what is there: first a name of
// its own beside it, then that name moved over the target in one step.
bool Publish(int fd, const std::string& path) {
    const std::string source = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temporary =
            path + ".part" + std::to_string(getpid()) + "-" + std::to_string(attempt);
        if (linkat(AT_FDCWD, source.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        if (rename(temporary.c_str(), path.c_str()) == 0) return true;
        unlink(temporary.c_str());
        return false;
    }
    return false;
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
    const Descriptor archive(UnnamedPrivateFile(FolderOf(path)));
    if (archive.Get() < 0) return Failed(path);
    // The archive holds the private key: it is the user's alone from the start.
    if (fchmod(archive.Get(), 0600) != 0) return Failed(path);
    if (RunProgramInto({"tar", "cf", "-", Client.ConfigDir}, archive.Get(), CommandTimeLimitMs) != 0 ||
        fsync(archive.Get()) != 0 || !Publish(archive.Get(), path)) {
        return Failed(path);
    }
    return std::nullopt;
}
