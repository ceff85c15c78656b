// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

// Writes `bytes` to a new file beside `path` and renames it over `path`, so
// that a failed or interrupted write leaves the old file whole.  The new file
// keeps the old one's permissions.  False when nothing was replaced.
bool ReplaceFile(const std::string& path, const std::string& bytes);
