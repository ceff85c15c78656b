// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/identity_backup.h"

#include "client/identity_backup.h"
#include "toolkit/toolkit.h"

void BackupIdentity() {
    const std::string path = ChooseSaveFile("Save tar backup to", DefaultBackupPath(),
                                            {{"Tar (*.tar)", "*.tar"}, {"All files (*.*)", "*"}});
    if (path.empty()) return;
    switch (InspectBackupTarget(path)) {
        case BackupTarget::Refused: {
            const Message refused = RefusedTargetMessage(path);
            MessageOk(refused.title, refused.text);
            return;
        }
        case BackupTarget::HasContent:
            if (!AskYesNo("Hamachi", OverwriteQuestion)) return;
            break;
        case BackupTarget::Absent:
        case BackupTarget::Empty:
            break;
    }
    if (const std::optional<Message> failed = WriteBackup(path)) {
        MessageOk(failed->title, failed->text);
    }
}
