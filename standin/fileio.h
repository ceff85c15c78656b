// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace standin {

bool Exists(const std::string& path);
bool IsDirectory(const std::string& path);

// Like mkdir -p.
bool MakeDirs(const std::string& path, mode_t mode);

// Writes every byte, retrying short writes and interruptions.
bool WriteAll(int fd, std::string_view bytes);

// Appends in one write() on an O_APPEND descriptor, so records from
// concurrent processes never interleave.
bool AppendToFile(const std::string& path, std::string_view bytes);

// Replaces the file through a temporary file in the same folder and a
// rename, so a reader sees either the old or the new contents, never a mix.
// On failure *error tells why and the old file is untouched.
bool ReplaceFile(const std::string& path, std::string_view bytes, std::string* error);

// Removing a file that is already gone counts as success.
bool RemoveFile(const std::string& path);

}  // namespace standin
