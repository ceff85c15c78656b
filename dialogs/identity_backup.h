// SPDX-License-Identifier: GPL-2.0-or-later
// "Backup Identity": the client's configuration directory into a tar archive
// that the user names in a save-file chooser.
#pragma once

// Proposes $HOME/Hamachi_IDENTITY_backup.tar; asks before overwriting a file
// with content, refuses anything but a file of the user's own, and says so
// when the archive could not be written.
void BackupIdentity();
