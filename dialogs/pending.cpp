#include "dialogs/dialogs.h"

// The secondary windows arrive with their own changes; until then the events
// that open or drive them are routed here and change nothing.
void OpenCreateNetworkDialog() {}
void CreateNetwork() {}
void OpenJoinNetworkDialog() {}
void JoinNetwork() {}
void OpenAboutWindow() {}
void OpenStatusWindow() {}
void ShowStatusPage() {}
void ShowSystemPage() {}
void EnableUpdate() {}
void UpdateSettings() {}
void OpenNicknameDialog() {}
void ChangeNickname() {}
void BackupIdentity() {}
