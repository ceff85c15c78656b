// The secondary windows: create and join a network, status and configuration,
// change the nickname, identity backup, About.
#pragma once

void OpenCreateNetworkDialog();
void CreateNetwork();
void OpenJoinNetworkDialog();
void JoinNetwork();
void OpenAboutWindow();
void OpenStatusWindow();
void ShowStatusPage();
void ShowSystemPage();
void EnableUpdate();
void UpdateSettings();
void OpenNicknameDialog();
void ChangeNickname();
void BackupIdentity();
