// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/status_window.h"

#include "client/client_state.h"
#include "client/session.h"
#include "image_list.h"
#include "settings/client_config.h"
#include "settings/options_file.h"
#include "toolkit/toolkit.h"

namespace {

// The System page's fields, in the config file's order of keys.
constexpr int ConfigFields[ClientConfigKeys] = {GadgetKeepAlive, GadgetTxRate, GadgetRxRate};

void BuildStatusPage(int w) {
    AddPage(GadgetStatusPage, w, 95, 5, 310, 240);
    BeginPage(GadgetStatusPage);
    AddLabel(GadgetVersionCaption, w, 10, 20, 70, 20, "Version:", Align::Left);
    AddSunkenLabel(GadgetVersion, w, 85, 20, 210, 20, "");
    AddLabel(GadgetAddressCaption, w, 10, 45, 70, 20, "Address:", Align::Left);
    AddSunkenLabel(GadgetAddress, w, 85, 45, 210, 20, "");
    AddLabel(GadgetNicknameCaption, w, 10, 70, 70, 20, "Nickname:", Align::Left);
    AddSunkenLabel(GadgetNickname, w, 85, 70, 210, 20, "");
    AddButton(GadgetChangeNickname, w, 89, 129, 135, 30, "Change nickname");
    AddButton(GadgetBackupIdentity, w, 89, 169, 135, 30, "Backup Identity");
    EndPage();
}

void BuildSystemPage(int w) {
    AddPage(GadgetSystemPage, w, 95, 5, 310, 240);
    BeginPage(GadgetSystemPage);
    AddCheckBox(GadgetConfirmEvict, w, 15, 35, 275, 20, "Confirm evicting user from the network");
    AddLabel(GadgetKeepAliveCaption, w, 15, 110, 185, 20, "Keep Alive (seconds):", Align::Left);
    AddEntry(GadgetKeepAlive, w, 225, 110, 60, 20, "90", EntryDigitsOnly);
    AddLabel(GadgetTxRateCaption, w, 15, 135, 185, 20, "Transfer Rate (bytes/sec):", Align::Left);
    AddEntry(GadgetTxRate, w, 225, 135, 60, 20, "0", EntryDigitsOnly);
    AddLabel(GadgetRxRateCaption, w, 15, 160, 185, 20, "Receive Rate (bytes/sec):", Align::Left);
    AddEntry(GadgetRxRate, w, 225, 160, 60, 20, "0", EntryDigitsOnly);
    AddFrame(GadgetNetworkFrame, w, 5, 85, 295, 110, "Network:");
    AddFrame(GadgetConfirmationsFrame, w, 5, 10, 295, 70, "Confirmations:");
    AddButton(GadgetUpdate, w, 120, 205, 60, 25, "Update");
    EndPage();
    SetGadgetAccessibleName(GadgetKeepAlive, "Keep Alive (seconds):");
    SetGadgetAccessibleName(GadgetTxRate, "Transfer Rate (bytes/sec):");
    SetGadgetAccessibleName(GadgetRxRate, "Receive Rate (bytes/sec):");
}

}  // namespace

void OpenStatusWindow(int owner) {
    const int w = StatusWindow;
    if (!OpenWindow(w, "Status and Configuration", 410, 250, WindowCentered, owner)) return;
    BuildStatusPage(w);
    AddImageButton(GadgetStatusTab, w, 4, 5, 86, 65, ImageStatusTabFirst);
    AddImageButton(GadgetSystemTab, w, 4, 70, 86, 65, ImageSystemTabFirst);
    for (const auto& [tab, name] :
         {std::pair{GadgetStatusTab, "Status"}, {GadgetSystemTab, "System"}}) {
        SetGadgetAccessibleName(tab, name);
        SetGadgetTooltip(tab, name);
    }
    BuildSystemPage(w);
    HideGadget(GadgetStatusPage);
    HideGadget(GadgetSystemPage);
    ShowStatusPage();
    SetGadgetText(GadgetVersion, Client.Version);
    SetGadgetText(GadgetAddress, Client.Identity);
    SetGadgetText(GadgetNickname, Client.Nickname);
    ShowWindow(w);
}

void ShowStatusPage() {
    SetButtonImage(GadgetStatusTab, ImageStatusTabSelected);
    SetButtonImage(GadgetSystemTab, ImageSystemTab);
    HideGadget(GadgetSystemPage);
    ShowGadget(GadgetStatusPage);
}

void ShowSystemPage() {
    SetButtonImage(GadgetStatusTab, ImageStatusTab);
    SetButtonImage(GadgetSystemTab, ImageSystemTabSelected);
    HideGadget(GadgetStatusPage);
    ShowGadget(GadgetSystemPage);
    SetGadgetSensitive(GadgetUpdate, false);
    // What the fill changes posts events like an edit, and so enables Update.
    const ClientConfigValues values = LoadClientConfig(Client.ConfigDir);
    for (int k = 0; k < ClientConfigKeys; ++k) {
        if (values[k]) SetGadgetText(ConfigFields[k], *values[k]);
    }
    SetCheckBox(GadgetConfirmEvict, Options.ConfirmEvict != 0);
}

void EnableUpdate() {
    SetGadgetSensitive(GadgetUpdate, true);
}

void UpdateSettings() {
    ClientConfigFields fields;
    for (int k = 0; k < ClientConfigKeys; ++k) fields[k] = GadgetText(ConfigFields[k]);
    if (!SaveClientConfig(Client.ConfigDir, fields)) {
        MessageOk("Hamachi", "Error: can't write the 'config' file");
    }
    Options.ConfirmEvict = CheckBoxTicked(GadgetConfirmEvict) ? 1 : 0;
    SaveOptions(Client.ConfigDir);
    if (AskYesNo("Hamachi", "Reload Hamachi?")) ReloadClient();
    SetGadgetSensitive(GadgetUpdate, false);
}

void ShowStatusNickname(const std::string& nickname) {
    SetGadgetText(GadgetNickname, nickname);
}
