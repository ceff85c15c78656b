// SPDX-License-Identifier: GPL-2.0-or-later
// Window 5, "Status and Configuration": the Status page (version, address,
// nickname) and the System page (eviction question, keep-alive, rates).
#pragma once

// Builds the window afresh on the Status page, its labels filled.
void OpenStatusWindow();
void ShowStatusPage();
// Shows the System page filled from the files, Update greyed until an edit.
void ShowSystemPage();
// Any event of the System page's check box or entries.
void EnableUpdate();
// Saves the client's config and the options, then offers to reload the client.
void UpdateSettings();
