// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

// Replaces the file at `path` with `bytes` in one step: a failed or
// interrupted write leaves the old file whole and no temporary file behind.
//
// A link at `path` stays: the file it leads to is replaced, in that file's
// own folder.  A link that is not the writer's own is followed only to a
// file (or, for a missing one, a folder) of the link's owner.  Only a regular
// file that the writer could also write in place is replaced; a directory,
// FIFO or device at the name is left alone.  The new file keeps the old
// one's permissions, and its owner and group where the writer may set them;
// a new file gets the usual permissions, and the folder's owner when the
// writer writes into someone else's folder.  False when nothing was replaced.
bool ReplaceFile(const std::string& path, const std::string& bytes);
