// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

#include "common/owned_fd.h"

// A new file that gets its name only when its content is complete: written
// through Descriptor(), then published over a path in one step, replacing
// what stood there, or discarded.  Dropped unpublished, it leaves nothing.
//
// The file has no name at all while pending where the file system allows
// it.  Elsewhere it is named ".corvane-" and six letters or digits, and held
// locked; such names that no writer holds any more are removed whenever a
// new pending file is made in their folder.
class PendingFile {
  public:
    // A file in the folder `dir`, with exactly the permissions `mode`;
    // nothing when it cannot be made there.
    static std::optional<PendingFile> Create(const std::string& dir, mode_t mode);

    PendingFile(PendingFile&&) = default;
    PendingFile& operator=(PendingFile&&) = delete;
    ~PendingFile() { Discard(); }

    // For writing (and reading); closed on exec, so a child process gets
    // it through dup2.  The position is wherever the writes left it.
    int Descriptor() const { return fd_.Get(); }

    // Flushes the content to disk and gives the file the name `path`, which
    // must lie on the same file system (in practice: in `dir`), replacing
    // whatever file stood there.  True once it has the name and is no longer
    // pending; false leaves it pending and `path` untouched.
    bool Publish(const std::string& path);
    void Discard();

  private:
    PendingFile(OwnedFd dir, OwnedFd fd, std::string name)
        : dir_(std::move(dir)), fd_(std::move(fd)), name_(std::move(name)) {}
    OwnedFd dir_;
    OwnedFd fd_;
    std::string name_;  // in dir_; empty while the file has no name
};

// The folder that holds the file `path` names: "." for a bare name.
std::string FolderOf(const std::string& path);

// Removes the regular files of `dir` named `prefix` and six letters or
// digits that no live writer holds locked: what a killed writer left.
void RemoveLeftovers(const std::string& dir, std::string_view prefix);
