// SPDX-License-Identifier: GPL-2.0-or-later
// Backing the client's configuration folder (its identity and private key)
// up into a tar archive at a path the user chose.
#pragma once

#include <optional>
#include <string>

#include "client/outcome.h"

// $HOME/Hamachi_IDENTITY_backup.tar
std::string DefaultBackupPath();

enum class BackupTarget {
    Absent,      // nothing there yet
    Empty,       // a file of the user's own, empty: overwritten without asking
    HasContent,  // a file of the user's own with content: ask first
    Refused,     // anything else (a folder, a link, a pipe, someone else's file)
};
BackupTarget InspectBackupTarget(const std::string& path);
inline constexpr const char* OverwriteQuestion = "Files exists, overwrite?";
Message RefusedTargetMessage(const std::string& path);

// tar writes the archive into a private (0600) file in the target's folder,
// which replaces the target only once tar succeeded; what to tell the user
// when it did not (the old file is then untouched), nothing when done.
std::optional<Message> WriteBackup(const std::string& path);
