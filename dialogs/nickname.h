// SPDX-License-Identifier: GPL-2.0-or-later
// Window 6, "Change Nickname".
#pragma once

// Builds the dialog with what the main window's status line shows in both
// entries, the first one greyed.
void OpenNicknameDialog();
// "Change": sends a changed nickname; on the client's exact "ok" shows it in
// the main window and the status window and closes the dialog.
void ChangeNickname();
