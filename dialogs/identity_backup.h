// "Backup Identity": the client's configuration directory into a tar archive
// that the user names in a save-file chooser.
#pragma once

#include <string>

// The path the chooser proposes: $HOME/Hamachi_IDENTITY_backup.tar.
std::string DefaultBackupPath();
void BackupIdentity();
