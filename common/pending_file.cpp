// SPDX-License-Identifier: GPL-2.0-or-later
#include "common/pending_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

namespace {

constexpr std::string_view NamePrefix = ".corvane-";
constexpr std::string_view NameLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr size_t RandomLetters = 6;
constexpr int NameTries = 100;

std::string RandomName() {
    unsigned char bytes[RandomLetters];
    if (getrandom(bytes, sizeof bytes, 0) != sizeof bytes) {
        // Only uniqueness matters here, not secrecy.
        for (unsigned char& byte : bytes) byte = static_cast<unsigned char>(rand());
    }
    std::string name(NamePrefix);
    for (unsigned char byte : bytes) name += NameLetters[byte % NameLetters.size()];
    return name;
}

bool IsLeftoverName(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + RandomLetters || !name.starts_with(prefix)) return false;
    return name.substr(prefix.size()).find_first_not_of(NameLetters) == std::string_view::npos;
}

std::string ProcPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

// A file without a name, where the file system can make one and /proc can
// later give it a name.
OwnedFd Anonymous(int folder) {
    OwnedFd fd(openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (fd && access(ProcPath(fd.Get()).c_str(), F_OK) != 0) fd.Reset();
    return fd;
}

}  // namespace

std::optional<PendingFile> PendingFile::Create(const std::string& dir, mode_t mode) {
    OwnedFd folder(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder) return std::nullopt;
    RemoveLeftovers(dir, NamePrefix);
    OwnedFd fd = Anonymous(folder.Get());
    std::string name;  // stays empty for a file without a name
    for (int attempt = 0; !fd && attempt < NameTries; ++attempt) {
        name = RandomName();
        fd.Reset(openat(folder.Get(), name.c_str(),
                        O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!fd && errno != EEXIST) return std::nullopt;
    }
    if (!fd) return std::nullopt;
    PendingFile file(std::move(folder), std::move(fd), std::move(name));
    // The lock tells RemoveLeftovers that this writer is alive.
    if (flock(file.Descriptor(), LOCK_EX) != 0 || fchmod(file.Descriptor(), mode) != 0) {
        return std::nullopt;
    }
    return file;
}

bool PendingFile::Publish(const std::string& path) {
    if (!fd_ || fsync(fd_.Get()) != 0) return false;
    std::string name = name_;
    // A link cannot replace a name: the file is linked in under a passing
    // name of the leftover pattern, then renamed over the path.
    for (int attempt = 0; name.empty() && attempt < NameTries; ++attempt) {
        name = RandomName();
        if (linkat(AT_FDCWD, ProcPath(fd_.Get()).c_str(), dir_.Get(), name.c_str(),
                   AT_SYMLINK_FOLLOW) == 0) {
            break;
        }
        if (errno != EEXIST) return false;
        name.clear();
    }
    if (name.empty()) return false;
    if (renameat(dir_.Get(), name.c_str(), AT_FDCWD, path.c_str()) != 0) {
        if (name_.empty()) unlinkat(dir_.Get(), name.c_str(), 0);
        return false;
    }
    fsync(dir_.Get());
    name_.clear();
    fd_.Reset();
    dir_.Reset();
    return true;
}

void PendingFile::Discard() {
    if (!fd_) return;
    if (!name_.empty()) unlinkat(dir_.Get(), name_.c_str(), 0);
    name_.clear();
    fd_.Reset();
    dir_.Reset();
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void RemoveLeftovers(const std::string& dir, std::string_view prefix) {
    const std::unique_ptr<DIR, int (*)(DIR*)> list(opendir(dir.c_str()), closedir);
    if (!list) return;
    const int folder = dirfd(list.get());
    while (const dirent* entry = readdir(list.get())) {
        if (!IsLeftoverName(entry->d_name, prefix)) continue;
        const OwnedFd fd(openat(folder, entry->d_name,
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat info {};
        if (fd && fstat(fd.Get(), &info) == 0 && S_ISREG(info.st_mode) &&
            flock(fd.Get(), LOCK_EX | LOCK_NB) == 0) {
            unlinkat(folder, entry->d_name, 0);
        }
    }
}
