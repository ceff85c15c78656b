// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/file_replace.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "common/owned_fd.h"
#include "common/pending_file.h"

namespace {

constexpr int MaxLinks = 40;

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

std::string Base(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// Who owns the file at `path`, or for a missing file its folder.
std::optional<uid_t> Holder(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) return info.st_uid;
    if (errno == ENOENT && stat(FolderOf(path).c_str(), &info) == 0) return info.st_uid;
    return std::nullopt;
}

// The file that writing `path` reaches, at the end of its links.  A link the
// writer does not own leads only to what the link's owner holds, so that a
// privileged writer is never led onto someone else's file.
std::optional<std::string> Destination(std::string path) {
    for (int hop = 0; hop <= MaxLinks; ++hop) {
        struct stat link {};
        if (lstat(path.c_str(), &link) != 0) {
            return errno == ENOENT ? std::optional(path) : std::nullopt;
        }
        if (!S_ISLNK(link.st_mode)) return path;
        char target[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), target, sizeof target);
        if (length <= 0 || static_cast<size_t>(length) == sizeof target) return std::nullopt;
        std::string next(target, static_cast<size_t>(length));
        if (next[0] != '/') next = FolderOf(path) + "/" + next;
        if (link.st_uid != geteuid() && Holder(next) != link.st_uid) return std::nullopt;
        path = std::move(next);
    }
    return std::nullopt;
}

// Sets the owner and group where the writer may: the owner takes privilege,
// the group membership.  What it may not set stays its own, as in any file
// it makes.
bool SetOwner(int fd, uid_t uid, gid_t gid) {
    return fchown(fd, uid, gid) == 0 || fchown(fd, static_cast<uid_t>(-1), gid) == 0;
}

}  // namespace

bool ReplaceFile(const std::string& path, const std::string& bytes) {
    const std::optional<std::string> target = Destination(path);
    if (!target) return false;
    const std::string dir = FolderOf(*target);
    struct stat old {};
    mode_t mode = NewFileMode();
    std::optional<std::pair<uid_t, gid_t>> owner;
    if (lstat(target->c_str(), &old) == 0) {
        // What could not be written in place is not replaced either.
        if (!S_ISREG(old.st_mode)) return false;
        const OwnedFd inPlace(
            open(target->c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!inPlace) return false;
        mode = old.st_mode & 07777;
        owner.emplace(old.st_uid, old.st_gid);
    } else {
        struct stat folder {};
        if (errno != ENOENT || stat(dir.c_str(), &folder) != 0) return false;
        if (folder.st_uid != geteuid()) owner.emplace(folder.st_uid, folder.st_gid);
    }
    // What earlier versions of this writer left when they were killed.
    RemoveLeftovers(FolderOf(path), "." + Base(path) + ".");
    std::optional<PendingFile> file = PendingFile::Create(dir, 0600);
    if (!file) return false;
    const int fd = file->Descriptor();
    struct stat made {};
    if (!WriteAll(fd, bytes) || fstat(fd, &made) != 0) return false;
    if (owner && (made.st_uid != owner->first || made.st_gid != owner->second)) {
        SetOwner(fd, owner->first, owner->second);
    }
    return fchmod(fd, mode) == 0 && file->Publish(*target);
}
