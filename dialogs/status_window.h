// SPDX-License-Identifier: GPL-2.0-or-later
// Window 5, "Status and Configuration": the Status page (version, address,
// nickname) and the System page (eviction question, keep-alive, rates).
#pragma once

#include <string>

constexpr int StatusWindow = 5;

enum StatusWindowGadget {
    GadgetStatusPage = 43,
    GadgetVersionCaption = 45,
    GadgetVersion = 46,
    GadgetAddressCaption = 47,
    GadgetAddress = 48,
    GadgetNicknameCaption = 49,
    GadgetNickname = 50,
    GadgetChangeNickname = 51,
    GadgetStatusTab = 52,
    GadgetSystemTab = 53,
    GadgetSystemPage = 54,
    GadgetConfirmEvict = 56,
    GadgetKeepAliveCaption = 57,
    GadgetKeepAlive = 58,
    GadgetTxRateCaption = 59,
    GadgetTxRate = 60,
    GadgetRxRateCaption = 61,
    GadgetRxRate = 62,
    GadgetNetworkFrame = 63,
    GadgetConfirmationsFrame = 64,
    GadgetUpdate = 65,
    GadgetBackupIdentity = 66,
};

// Builds the window afresh on the Status page, its labels filled, transient
// for the window `owner`.
void OpenStatusWindow(int owner);
void ShowStatusPage();
// Shows the System page filled from the files, Update greyed until an edit.
void ShowSystemPage();
// Any event of the System page's check box or entries.
void EnableUpdate();
// Saves the client's config and the options, then offers to reload the client.
void UpdateSettings();
// A new nickname, on the Status page when the window is open.
void ShowStatusNickname(const std::string& nickname);
