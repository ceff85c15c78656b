// Right-clicks on the roster and the network menu's items.
#pragma once

// Opens the network menu on a network row, the member menu otherwise.
void OpenRosterMenu();

void GoOnline();
void GoOffline();
void LeaveNetwork();
void DeleteNetwork();
